# The peers of the archive benchmark: libdeflate's whole-buffer zlib decompressor and zlib's inflate.
pkg_check_modules(LIBDEFLATE REQUIRED IMPORTED_TARGET libdeflate)
find_package(ZLIB REQUIRED)
target_link_libraries(${target} PRIVATE PkgConfig::LIBDEFLATE ZLIB::ZLIB)
