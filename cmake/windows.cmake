# Settings shared by every Windows target of a cross build.
set(VARNEK_WINDOWS_ARCH ${CMAKE_SYSTEM_PROCESSOR})

# The C runtime's own printf family: mingw's C99 one adds 20 KB of float
# formatting the programs never use (ComposePath treats both truncation
# conventions as "does not fit").
add_compile_definitions(_WIN32_WINNT=0x0600 WINVER=0x0600 NOMINMAX __USE_MINGW_ANSI_STDIO=0)
# Narrow literals are code page 936 in the binaries; sources stay UTF-8.
# -Oz (also at the link, where LTO compiles): the smallest code; no loop of
# ours is hot, the package's inflation runs in Debian's prebuilt zlib.
add_compile_options(
  -finput-charset=UTF-8 -fexec-charset=GBK
  -Wall -Wextra -Oz -ffunction-sections -fdata-sections
  # No exceptions are thrown, so no unwind tables are needed.
  -fno-asynchronous-unwind-tables
  $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions>
  $<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>)
# Static: no MinGW runtime DLLs beside the programs.
add_link_options(-Oz -static -s -Wl,--gc-sections)
# Link-time optimisation inlines and drops across files: 2.5 to 6.5 KB less
# in each wizard program.
set(CMAKE_INTERPROCEDURAL_OPTIMIZATION ON)

include_directories(${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)

set(VARNEK_ART_DIR ${CMAKE_BINARY_DIR}/generated/art)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

# A GUI program: Windows subsystem with the given minimum version.
function(varnek_gui_program target subsystem_version)
  add_executable(${target} WIN32 ${ARGN})
  target_link_options(${target} PRIVATE -mwindows -Wl,--subsystem,windows:${subsystem_version})
endfunction()

# A console helper (test drivers, stand-ins).
function(varnek_console_program target)
  add_executable(${target} ${ARGN})
  target_link_options(${target} PRIVATE -Wl,--subsystem,console)
endfunction()

# Resources of a wizard program: the artwork and the shared manifest.
function(varnek_wizard_resources target rc_file)
  add_dependencies(${target} wizard_art)
  set_source_files_properties(${rc_file} PROPERTIES
    OBJECT_DEPENDS "${VARNEK_ART_FILES};${CMAKE_SOURCE_DIR}/common/app.manifest")
  target_include_directories(${target} PRIVATE ${VARNEK_ART_DIR})
endfunction()

# delay_<lib>: links a system DLL that is not a KnownDLL for loading at its
# first call, after WinMain restricted the DLL search to the system folder
# (common/system_dlls.h). The static import table then names KnownDLLs only.
function(varnek_delay_import lib dll)
  set(output ${CMAKE_BINARY_DIR}/delay_imports/lib${lib}_delay.a)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delay_imports
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/cmake/delay_import_lib.py
            ${VARNEK_MINGW_TRIPLET} ${CMAKE_FIND_ROOT_PATH}/lib/lib${lib}.a ${dll} ${output}
    DEPENDS ${CMAKE_SOURCE_DIR}/cmake/delay_import_lib.py)
  add_custom_target(delay_${lib}_library DEPENDS ${output})
  add_library(delay_${lib} INTERFACE)
  target_link_libraries(delay_${lib} INTERFACE ${output})
  add_dependencies(delay_${lib} delay_${lib}_library)
endfunction()
varnek_delay_import(comctl32 comctl32.dll)
varnek_delay_import(winspool WINSPOOL.DRV)

# A shipped program: it runs elevated and so follows common/system_dlls.h.
# GNU ld leaves its delay import directory empty: it is written after the link
# from the linker's map, ended by the zero descriptor that -u keeps. The
# unwind tables nothing reads are left out (cmake/no_eh_frame.ld).
function(varnek_elevated_program target)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(end _DelayImportDirectoryEnd)
  else()
    set(end DelayImportDirectoryEnd)
  endif()
  set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
  set(script ${CMAKE_SOURCE_DIR}/cmake/no_eh_frame.ld)
  target_link_options(${target} PRIVATE -Wl,-u,${end} -Wl,-Map=${map} -Wl,-T,${script})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${script})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/cmake/delay_import_directory.py $<TARGET_FILE:${target}> ${map})
endfunction()
