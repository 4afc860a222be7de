# The peer of the expression benchmark: Lua 5.4, embedded.
pkg_check_modules(LUA54 REQUIRED IMPORTED_TARGET lua5.4)
target_link_libraries(${target} PRIVATE PkgConfig::LUA54)
