# Compiler settings shared by every target: warnings, optimisation, sanitizers, ccache.

find_program(ORVA_CCACHE ccache)
if(ORVA_CCACHE)
  set(CMAKE_C_COMPILER_LAUNCHER "${ORVA_CCACHE}")
  set(CMAKE_CXX_COMPILER_LAUNCHER "${ORVA_CCACHE}")
endif()

# Release builds stay portable: no -march=native; kernels that need AVX2 are compiled
# per file with -mavx2 and chosen at run time.
set(CMAKE_CXX_FLAGS_RELEASE "-O3 -DNDEBUG")
set(CMAKE_C_FLAGS_RELEASE "-O3 -DNDEBUG")

add_library(orva_options INTERFACE)
target_compile_options(orva_options INTERFACE -Wall -Wextra)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # GCC 12 reports false -Wrestrict errors inside std::string's operator+ at -O3.
  target_compile_options(orva_options INTERFACE -Wno-restrict)
endif()
if(ORVA_WERROR)
  target_compile_options(orva_options INTERFACE -Werror)
endif()
target_compile_definitions(orva_options INTERFACE ORVA_VERSION="${PROJECT_VERSION}")

if(ORVA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()

if(ORVA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "ORVA_FUZZ needs clang (configure with CXX=clang++)")
  endif()
  # Every library gets coverage instrumentation; only the fuzz targets link libFuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# orva_library(NAME SOURCES ... [LIBS ...]) — one static library per subsystem folder.
function(orva_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC orva_options ${ARG_LIBS})
  set_property(GLOBAL APPEND PROPERTY ORVA_LIBRARIES ${name})
endfunction()
