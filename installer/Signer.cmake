# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes who signs the Windows packages into OUT, and leaves OUT untouched when that has not
# changed, so that the packages are made again when the certificate changes and only then:
#
#   cmake -DOUT=<file> [-DSIGN_PFX=<.pfx>] [-DSIGN_TIMESTAMP_URL=<url>] -P Signer.cmake
#
# Each setting falls back on the environment (QUORBLEX_SIGN_PFX, QUORBLEX_SIGN_TIMESTAMP_URL), as
# installer/MakePackages.cmake's do. The certificate is named by its path and its contents'
# SHA-256; the password is not written.
foreach(setting PFX TIMESTAMP_URL)
  if("${SIGN_${setting}}" STREQUAL "")
    set(SIGN_${setting} "$ENV{QUORBLEX_SIGN_${setting}}")
  endif()
endforeach()
set(contents "unsigned\n")
if(NOT "${SIGN_PFX}" STREQUAL "")
  set(hash "missing")
  if(EXISTS "${SIGN_PFX}")
    file(SHA256 "${SIGN_PFX}" hash)
  endif()
  set(contents "certificate ${SIGN_PFX} ${hash}\ntime stamps ${SIGN_TIMESTAMP_URL}\n")
endif()
set(old "")
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
endif()
if(NOT old STREQUAL contents)
  file(WRITE "${OUT}" "${contents}")
endif()
