# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Signs one Windows program in place with Authenticode (SHA-256), with osslsigncode:
#
#   cmake -DFILE=<exe> -DOSSLSIGNCODE=<path> -DPFX=<certificate and key> -DPASSFILE=<file>
#         [-DTIMESTAMP_URL=<RFC 3161 server>] -P Sign.cmake
#
# PASSFILE holds the PFX's password (so that it never shows on a command line). With a
# TIMESTAMP_URL the signature gets a time stamp from that server, so that it stays valid after
# the certificate expires; without one it is valid only as long as the certificate.
# installer/MakePackages.cmake runs this for the programs and has makensis run it for the
# uninstaller and the installer.
foreach(var FILE OSSLSIGNCODE PFX PASSFILE)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "Sign.cmake: ${var} is not set")
  endif()
endforeach()
set(timestamp "")
if(NOT "${TIMESTAMP_URL}" STREQUAL "")
  set(timestamp -ts "${TIMESTAMP_URL}")
endif()
file(REMOVE "${FILE}.signed")
execute_process(
  COMMAND "${OSSLSIGNCODE}" sign -pkcs12 "${PFX}" -readpass "${PASSFILE}" -h sha256
          -n "Quorblex Pro" ${timestamp} -in "${FILE}" -out "${FILE}.signed"
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  file(REMOVE "${FILE}.signed")
  message(FATAL_ERROR "Could not sign ${FILE}: ${output}")
endif()
file(RENAME "${FILE}.signed" "${FILE}")
