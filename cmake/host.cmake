# Native part: host tools, unit tests, fuzzers, benchmarks, and the two cross
# builds of the Windows programs.
include(ExternalProject)
enable_testing()

if(NOT CMAKE_BUILD_TYPE)
  set(CMAKE_BUILD_TYPE RelWithDebInfo)
endif()

set(VARNEK_VENDOR_DIR "" CACHE PATH
    "Folder holding the 15 vendor-supplied payload files; empty: build stand-ins")
set(VARNEK_DIST_DIR ${CMAKE_SOURCE_DIR}/dist)

add_compile_options(-Wall -Wextra)
include_directories(${CMAKE_SOURCE_DIR})

include(${CMAKE_SOURCE_DIR}/cmake/portable_sources.cmake)
list(TRANSFORM VARNEK_PORTABLE_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/)
add_library(portable STATIC ${VARNEK_PORTABLE_SOURCES})

add_subdirectory(tests/native)

# The x86_64 flavour: the same programs built for x64 Windows, with the
# stand-in payload files. The Wine tests run it on machines that cannot
# execute 32-bit x86 code.
ExternalProject_Add(win64
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/win64
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-x86_64.cmake
    -DCMAKE_BUILD_TYPE=MinSizeRel
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  USES_TERMINAL_BUILD ON)

# The i686 flavour: the deliverables.
ExternalProject_Add(win32
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/win32
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-i686.cmake
    -DCMAKE_BUILD_TYPE=MinSizeRel
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  USES_TERMINAL_BUILD ON
  DEPENDS win64)

add_custom_target(dist ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VARNEK_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy
          ${CMAKE_BINARY_DIR}/win32/installer/VarnekPrinterSetup.exe
          ${CMAKE_BINARY_DIR}/win32/uninstaller/Uninstaller.exe
          ${VARNEK_DIST_DIR}/
  DEPENDS win32
  COMMENT "Copying the deliverables to dist/")

add_subdirectory(tests/wine)
