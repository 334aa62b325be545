# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# quorblex.exe: the Windows host (host/win32/), the program around it (windows/) with its
# resources, and their checks. Included by cmake/WindowsPrograms.cmake in a Windows build.
enable_language(RC)

# ---- Resources: the manifest, icon 128 and the version block ------------------------------
set(QUORBLEX_FILE_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0")
string(REPLACE "." "," QUORBLEX_FILE_VERSION_COMMAS "${QUORBLEX_FILE_VERSION}")
set(QUORBLEX_MANIFEST ${CMAKE_BINARY_DIR}/generated/quorblex.manifest)
configure_file(${CMAKE_SOURCE_DIR}/windows/quorblex.manifest.in ${QUORBLEX_MANIFEST} @ONLY)
# Each size of the program icon that the art generator draws, as it drew it; the group's
# entries need each image's size in bytes, so the resource script is written here.
set(QUORBLEX_ICON_IMAGES "")
set(QUORBLEX_ICON_ENTRIES "")
set(QUORBLEX_ICON_COUNT 0)
set(icon_pngs "")
foreach(size 16 24 32 48 64 128 256)
  set(file ${CMAKE_SOURCE_DIR}/res/icons/quorblex-${size}.png)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "Cannot make icon 128: ${file} is missing (tools/gen_art.sh makes it)")
  endif()
  list(APPEND icon_pngs ${file})
  math(EXPR QUORBLEX_ICON_COUNT "${QUORBLEX_ICON_COUNT} + 1")
  file(SIZE ${file} bytes)
  if(size EQUAL 256)
    set(side 0)
  else()
    set(side ${size})
  endif()
  math(EXPR width_height "${side} + ${side} * 256")
  string(APPEND QUORBLEX_ICON_IMAGES "${QUORBLEX_ICON_COUNT} 3 \"${file}\"\n")
  string(APPEND QUORBLEX_ICON_ENTRIES ",\n  ${width_height}, 0, 1, 32, ${bytes}L, ${QUORBLEX_ICON_COUNT}")
endforeach()
set(QUORBLEX_RC ${CMAKE_BINARY_DIR}/generated/quorblex.rc)
configure_file(${CMAKE_SOURCE_DIR}/windows/quorblex.rc.in ${QUORBLEX_RC} @ONLY)
set_source_files_properties(${QUORBLEX_RC} PROPERTIES
  OBJECT_DEPENDS "${QUORBLEX_MANIFEST};${icon_pngs}")

# ---- The Windows host ---------------------------------------------------------------------
file(GLOB WIN32_HOST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/host/win32/*.cpp)
add_library(quorblex_win32 STATIC ${WIN32_HOST_SOURCES})
target_link_libraries(quorblex_win32 PUBLIC quorblex_shared_host quorblex_core comctl32 winmm gdi32 user32 shell32 ole32 oleacc)

# ---- quorblex.exe -------------------------------------------------------------------------
add_executable(quorblex WIN32 ${CMAKE_SOURCE_DIR}/windows/main.cpp
                              ${CMAKE_SOURCE_DIR}/windows/WindowsCommandLine.cpp
                              ${CMAKE_SOURCE_DIR}/windows/ProgramOutput.cpp
                              ${CMAKE_SOURCE_DIR}/windows/SystemLibraries.cpp
                              ${QUORBLEX_RC}
                              $<TARGET_OBJECTS:quorblex_program>)
# Windows loads a program's imports before its first line runs, looking in the program's own
# folder first for those that are not among the system's known DLLs: WINMM and BCRYPT. Those
# two are loaded on first use instead, by then only from the system folder
# (windows/SystemLibraries.h).
target_link_libraries(quorblex PRIVATE quorblex_win32 quorblex_core)
quorblex_delay_load(quorblex winmm bcrypt)
set_source_files_properties(${CMAKE_SOURCE_DIR}/windows/main.cpp
  PROPERTIES COMPILE_DEFINITIONS QUORBLEX_VERSION="${PROJECT_VERSION}")
add_dependencies(quorblex quorblex_data)


# Its checks need GoogleTest, which the top file sets up after the programs: they are added
# once the whole file has been read.
cmake_language(DEFER CALL include ${CMAKE_SOURCE_DIR}/cmake/Win32HostTests.cmake)
