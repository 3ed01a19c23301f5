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
find_package(ZLIB REQUIRED)
target_link_libraries(portable PUBLIC ZLIB::ZLIB)

# The packer both cross builds run to append the payload to their installer.
add_subdirectory(package/packer)
set(VARNEK_PACKER ${CMAKE_BINARY_DIR}/tools/varnek_packer)
include(${CMAKE_SOURCE_DIR}/cmake/payload_members.cmake)
# The members in package order, one a line, for the peer benchmark.
list(JOIN VARNEK_PAYLOAD_MEMBERS "\n" members)
file(WRITE ${CMAKE_BINARY_DIR}/payload_members.txt "${members}\n")
if(VARNEK_VENDOR_DIR)
  varnek_check_vendor_dir(${VARNEK_VENDOR_DIR})
else()
  # dist/ holds only the product: one left by an earlier configuration must
  # not pass for this build's.
  file(REMOVE ${VARNEK_DIST_DIR}/VarnekPrinterSetup.exe ${VARNEK_DIST_DIR}/Uninstaller.exe)
endif()

add_subdirectory(tests/native)
add_subdirectory(tests/fuzz)
add_subdirectory(bench)

# The x86_64 flavour: the same programs built for x64 Windows, the 64-bit USB
# driver helper, and an installer that carries the x64 stand-ins. The Wine
# tests run it on machines that cannot execute 32-bit x86 code.
ExternalProject_Add(win64
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/win64
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-x86_64.cmake
    -DCMAKE_BUILD_TYPE=MinSizeRel
    -DVARNEK_PACKER=${VARNEK_PACKER}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  USES_TERMINAL_BUILD ON
  DEPENDS varnek_packer)

# The i686 flavour: the deliverable programs, an installer that carries the
# i686 stand-ins (for a 32-bit Wine prefix), and one that carries the x64
# stand-ins of the x86_64 flavour (the shipped configuration, for a 64-bit
# prefix where it runs under WOW64). With VARNEK_VENDOR_DIR it also packs the
# product, win32/product/VarnekPrinterSetup.exe.
ExternalProject_Add(win32
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/win32
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-i686.cmake
    -DCMAKE_BUILD_TYPE=MinSizeRel
    -DVARNEK_PACKER=${VARNEK_PACKER}
    -DVARNEK_USB_HELPER=${CMAKE_BINARY_DIR}/win64/usb_helper/VarnekUsb64.exe
    -DVARNEK_X64_STANDIN_DIR=${CMAKE_BINARY_DIR}/win64/payload/vendor
    -DVARNEK_PAYLOAD_DIR=${VARNEK_VENDOR_DIR}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  USES_TERMINAL_BUILD ON
  DEPENDS win64 varnek_packer)

# dist/ is made only from the vendor's files: a stand-in installer would put
# our stubs under Windows' shared Unidrv file names.
if(VARNEK_VENDOR_DIR)
  add_custom_target(dist ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VARNEK_DIST_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy
            ${CMAKE_BINARY_DIR}/win32/product/VarnekPrinterSetup.exe
            ${CMAKE_BINARY_DIR}/win32/uninstaller/Uninstaller.exe
            ${VARNEK_DIST_DIR}/
    DEPENDS win32
    COMMENT "Copying the deliverables to dist/")
endif()

add_subdirectory(tests/wine)
