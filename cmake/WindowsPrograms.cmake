# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows programs: quorblex-sim.exe (console) from the top file, and the libraries the
# core's common/win32/ sources call. Both programs sit in the build folder's top with their data
# in res/ beside them, as on Linux; DataFiles finds it from the program's own path.

# CommandLineToArgvW (shcore, where shell32 sends it: a small DLL of Windows 8.1 and later),
# SHGetKnownFolderPath (shell32, its folder ids in uuid, its buffer freed by ole32),
# BCryptGenRandom (bcrypt). shcore goes first, so that CommandLineToArgvW is taken from it.
target_link_libraries(quorblex_core PUBLIC shcore shell32 ole32 uuid bcrypt)

# quorblex_delay_load(TARGET DLL...): TARGET loads each DLL on first use rather than before its
# first line runs. What it takes from a DLL is named in windows/delayload/DLL.def; the delay-load
# import libraries go before the ordinary ones on the link line.
function(quorblex_delay_load target)
  find_program(QUORBLEX_DLLTOOL NAMES ${QUORBLEX_MINGW_PREFIX}-dlltool REQUIRED)
  foreach(dll ${ARGN})
    set(lib ${CMAKE_BINARY_DIR}/delayload/lib${dll}-delay.a)
    if(NOT TARGET quorblex_delayload_${dll})
      set(def ${CMAKE_SOURCE_DIR}/windows/delayload/${dll}.def)
      add_custom_command(OUTPUT ${lib}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delayload
        COMMAND ${QUORBLEX_DLLTOOL} --input-def ${def} --dllname ${dll}.dll --output-delaylib ${lib}
        DEPENDS ${def} VERBATIM)
      add_custom_target(quorblex_delayload_${dll} DEPENDS ${lib})
    endif()
    add_dependencies(${target} quorblex_delayload_${dll})
    target_link_libraries(${target} PRIVATE ${lib})
  endforeach()
  target_link_libraries(${target} PRIVATE delayimp)
endfunction()

# The simulator starts often (every test that runs it starts it anew): it loads SHELL32 and OLE32,
# which it needs only to find the user's profile when none is given, on first use. Both are among
# Windows' known DLLs, which come from the system folder whenever they are loaded.
quorblex_delay_load(quorblex-sim shell32 ole32)

# quorblex.exe, the Windows host of host/win32/, and its tests; then the installer and the zip.
# Each file adds its own targets and registers its checks with add_test, so ctest in the build
# folder (tools/windows_tests.sh) runs them with the rest.
include(${CMAKE_SOURCE_DIR}/cmake/Win32Host.cmake OPTIONAL)
include(${CMAKE_SOURCE_DIR}/cmake/WindowsPackage.cmake OPTIONAL)

# Every program runs from its folder alone: it imports only DLLs that Windows has.
set(windows_programs $<TARGET_FILE:quorblex-sim>)
if(TARGET quorblex)
  list(APPEND windows_programs $<TARGET_FILE:quorblex>)
endif()
add_test(NAME WindowsPrograms.ImportOnlyWhatWindowsHas
         COMMAND bash ${CMAKE_SOURCE_DIR}/tools/check_windows_imports.sh ${windows_programs})
