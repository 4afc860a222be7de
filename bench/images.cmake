# The peers of the image benchmark: libdeflate's whole-buffer inflate, libjpeg-turbo, libpng.
pkg_check_modules(LIBDEFLATE REQUIRED IMPORTED_TARGET libdeflate)
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
target_link_libraries(${target} PRIVATE PkgConfig::LIBDEFLATE JPEG::JPEG PNG::PNG)
