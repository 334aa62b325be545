# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the two Windows packages from a staged copy of the program (what `cmake --install`
# put there): the installer, QuorblexPro-<version>-setup.exe, and the portable
# QuorblexPro-<version>-windows-x64.zip, whose one folder is the staged copy itself.
#
#   cmake -DSTAGE=<dir> -DOUT_DIR=<dir> -DVERSION=<x.y[.z]> -DMAKENSIS=<path>
#         -DNSIS_SCRIPT=<QuorblexPro.nsi> -DICON=<.ico> -DPORTRAIT=<.bmp> -DLICENSE=<text> -DMTIME=<date>
#         [-DSIGN_PFX=<.pfx> -DSIGN_PASSWORD=<password> -DSIGN_TIMESTAMP_URL=<url>]
#         [-DOSSLSIGNCODE=<path>] -P MakePackages.cmake
#
# Given a certificate (SIGN_PFX, else the environment's QUORBLEX_SIGN_PFX, with its password from
# SIGN_PASSWORD or QUORBLEX_SIGN_PASSWORD, and a time-stamp server from SIGN_TIMESTAMP_URL or
# QUORBLEX_SIGN_TIMESTAMP_URL), both programs, the uninstaller and the installer are signed with
# Authenticode (installer/Sign.cmake). Without one they are not, and one line says so.
#
# STAGE's folder name is the folder inside the zip. The installer gets the same files: its
# install and uninstall lists are written here from what STAGE holds, so the uninstaller
# removes exactly what was installed.
foreach(var STAGE OUT_DIR VERSION MAKENSIS NSIS_SCRIPT ICON PORTRAIT LICENSE MTIME)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "MakePackages.cmake: ${var} is not set")
  endif()
endforeach()
if(NOT EXISTS "${MAKENSIS}")
  message(FATAL_ERROR "makensis was not found: install Debian's nsis package (tools/packages.sh lists it)")
endif()
foreach(program quorblex.exe quorblex-sim.exe)
  if(NOT EXISTS "${STAGE}/${program}")
    message(FATAL_ERROR "${STAGE} has no ${program}: nothing to package")
  endif()
endforeach()

set(base "QuorblexPro-${VERSION}")
set(work "${OUT_DIR}/installer")
file(MAKE_DIRECTORY "${work}")

# ---- Signing --------------------------------------------------------------------------------
foreach(setting PFX PASSWORD TIMESTAMP_URL)
  if("${SIGN_${setting}}" STREQUAL "")
    set(SIGN_${setting} "$ENV{QUORBLEX_SIGN_${setting}}")
  endif()
endforeach()
set(sign_define "")
set(passfile "${work}/sign-password")
file(REMOVE "${passfile}")
if(NOT "${SIGN_PFX}" STREQUAL "")
  if(NOT EXISTS "${SIGN_PFX}")
    message(FATAL_ERROR "The signing certificate ${SIGN_PFX} does not exist")
  endif()
  if(NOT OSSLSIGNCODE)
    unset(OSSLSIGNCODE)
    find_program(OSSLSIGNCODE osslsigncode)
  endif()
  if(NOT OSSLSIGNCODE)
    message(FATAL_ERROR "osslsigncode was not found: install Debian's osslsigncode package (tools/packages.sh lists it)")
  endif()
  # Readable by us alone, and gone once the packages are made.
  file(WRITE "${passfile}" "")
  file(CHMOD "${passfile}" PERMISSIONS OWNER_READ OWNER_WRITE)
  file(WRITE "${passfile}" "${SIGN_PASSWORD}")
  set(sign_command "\"${CMAKE_COMMAND}\" \"-DFILE=%1\" \"-DOSSLSIGNCODE=${OSSLSIGNCODE}\" \"-DPFX=${SIGN_PFX}\" \"-DPASSFILE=${passfile}\" \"-DTIMESTAMP_URL=${SIGN_TIMESTAMP_URL}\" -P \"${CMAKE_CURRENT_LIST_DIR}/Sign.cmake\"")
  set(sign_define "-DSIGN=${sign_command}")
  foreach(program quorblex.exe quorblex-sim.exe)
    execute_process(
      COMMAND "${CMAKE_COMMAND}" "-DFILE=${STAGE}/${program}" "-DOSSLSIGNCODE=${OSSLSIGNCODE}"
              "-DPFX=${SIGN_PFX}" "-DPASSFILE=${passfile}" "-DTIMESTAMP_URL=${SIGN_TIMESTAMP_URL}"
              -P "${CMAKE_CURRENT_LIST_DIR}/Sign.cmake"
      RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      file(REMOVE "${passfile}")
      message(FATAL_ERROR "Signing ${program} failed")
    endif()
  endforeach()
  if("${SIGN_TIMESTAMP_URL}" STREQUAL "")
    message(STATUS "Signing with ${SIGN_PFX}, without a time stamp (no QUORBLEX_SIGN_TIMESTAMP_URL)")
  else()
    message(STATUS "Signing with ${SIGN_PFX}, time-stamped by ${SIGN_TIMESTAMP_URL}")
  endif()
else()
  message(STATUS "Unsigned: no certificate given (QUORBLEX_SIGN_PFX), so Windows will warn whoever runs these files")
endif()

# ---- The file lists -------------------------------------------------------------------------
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${STAGE}" "${STAGE}/*")
list(SORT files)
file(GLOB_RECURSE dirs LIST_DIRECTORIES true RELATIVE "${STAGE}" "${STAGE}/*")
list(FILTER dirs EXCLUDE REGEX "^$")
set(folders "")
foreach(entry ${dirs})
  if(IS_DIRECTORY "${STAGE}/${entry}")
    list(APPEND folders "${entry}")
  endif()
endforeach()
# Deepest first, so that each folder is empty by the time it is removed.
list(SORT folders)
list(REVERSE folders)

# NSIS reads `$` as the start of a variable; a literal one is written `$$`.
function(nsis_path out path)
  string(REPLACE "$" "$$" path "${path}")
  string(REPLACE "/" "\\" path "${path}")
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

set(install_lines "")
set(uninstall_lines "")
set(current_dir "-")
foreach(f ${files})
  get_filename_component(dir "${f}" DIRECTORY)
  if(NOT dir STREQUAL current_dir)
    set(current_dir "${dir}")
    nsis_path(win_dir "${dir}")
    if(dir STREQUAL "")
      string(APPEND install_lines "SetOutPath \"$INSTDIR\"\n")
    else()
      string(APPEND install_lines "SetOutPath \"$INSTDIR\\${win_dir}\"\n")
    endif()
  endif()
  string(REPLACE "$" "$$" source "${STAGE}/${f}")
  string(APPEND install_lines "File \"${source}\"\n")
  nsis_path(win_file "${f}")
  string(APPEND uninstall_lines "Delete \"$INSTDIR\\${win_file}\"\n")
endforeach()
foreach(dir ${folders})
  nsis_path(win_dir "${dir}")
  string(APPEND uninstall_lines "RMDir \"$INSTDIR\\${win_dir}\"\n")
endforeach()
file(WRITE "${work}/files.nsh" "${install_lines}")
file(WRITE "${work}/unfiles.nsh" "${uninstall_lines}")

# ---- The installer --------------------------------------------------------------------------
# Windows' version resource wants four numbers.
string(REPLACE "." ";" parts "${VERSION}")
list(LENGTH parts n)
while(n LESS 4)
  list(APPEND parts 0)
  math(EXPR n "${n} + 1")
endwhile()
list(SUBLIST parts 0 4 parts)
string(REPLACE ";" "." version4 "${parts}")

set(setup "${OUT_DIR}/${base}-setup.exe")
file(REMOVE "${setup}")
execute_process(
  COMMAND "${MAKENSIS}" -V2 -INPUTCHARSET UTF8 -NOCD
          "-DVERSION=${VERSION}" "-DVERSION4=${version4}" "-DOUTFILE=${setup}"
          "-DICON=${ICON}" "-DPORTRAIT=${PORTRAIT}" "-DLICENSE=${LICENSE}"
          "-DFILES=${work}/files.nsh" "-DUNFILES=${work}/unfiles.nsh" ${sign_define}
          "${NSIS_SCRIPT}"
  RESULT_VARIABLE status)
file(REMOVE "${passfile}")
if(NOT status EQUAL 0 OR NOT EXISTS "${setup}")
  message(FATAL_ERROR "makensis failed (${status})")
endif()
message(STATUS "Wrote ${setup}")

# ---- The portable zip -----------------------------------------------------------------------
# Named files in a fixed order with one time stamp, so the same program gives the same zip.
get_filename_component(stage_parent "${STAGE}" DIRECTORY)
get_filename_component(stage_name "${STAGE}" NAME)
set(members "")
foreach(f ${files})
  list(APPEND members "${stage_name}/${f}")
endforeach()
set(zip "${OUT_DIR}/${base}-windows-x64.zip")
file(REMOVE "${zip}")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E tar cf "${zip}" --format=zip "--mtime=${MTIME}" -- ${members}
  WORKING_DIRECTORY "${stage_parent}"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT EXISTS "${zip}")
  message(FATAL_ERROR "Could not write ${zip} (${status})")
endif()
message(STATUS "Wrote ${zip}")
