# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows packages. `cmake --build build-windows --target package` writes, into the build
# folder, QuorblexPro-<version>-setup.exe (NSIS: Program Files\Quorblex Pro, a Start-menu
# shortcut, an Apps & features entry, an uninstaller) and QuorblexPro-<version>-windows-x64.zip
# (the same folder to unpack anywhere). Included by cmake/WindowsPrograms.cmake once the programs
# are defined.
#
# What ships is said once, by the install rules below: the programs, the licence and a readme
# in one folder, and the data in res\ beside the programs, where they look for it first. The
# package target installs that into a staging folder and makes both packages from it, when
# anything they hold, or the certificate that signs them, has changed since it last did.

set(windows_programs quorblex-sim)
if(TARGET quorblex)
  list(APPEND windows_programs quorblex)
endif()
install(TARGETS ${windows_programs} RUNTIME DESTINATION .)
install(DIRECTORY res/sounds/ DESTINATION res)
install(FILES res/qx.avi res/qx@1.5x.avi res/qx@2x.avi res/quorblex.html DESTINATION res)
install(FILES LICENSES/GPL-3.0-or-later.txt DESTINATION . RENAME LICENSE.txt)
# Notepad has read Unix line ends only since 2018; the readme is for people, so it gets CRLF.
set(windows_readme ${CMAKE_BINARY_DIR}/installer/README.txt)
configure_file(${CMAKE_SOURCE_DIR}/installer/README.txt.in ${windows_readme} @ONLY
               NEWLINE_STYLE CRLF)
install(FILES ${windows_readme} DESTINATION .)

# makensis and osslsigncode are programs of the build machine, not of the Windows tree.
find_program(QUORBLEX_MAKENSIS makensis)
find_program(QUORBLEX_OSSLSIGNCODE osslsigncode)
# Signing: given a certificate, the programs, the uninstaller and the installer are signed with
# Authenticode. Each setting may instead come from the environment of the package build
# (QUORBLEX_SIGN_PFX, QUORBLEX_SIGN_PASSWORD, QUORBLEX_SIGN_TIMESTAMP_URL), which keeps the
# password out of CMakeCache.txt and the build rules.
set(QUORBLEX_SIGN_PFX "" CACHE FILEPATH "Certificate and key (.pfx) to sign the Windows packages with")
set(QUORBLEX_SIGN_PASSWORD "" CACHE STRING "The certificate's password")
set(QUORBLEX_SIGN_TIMESTAMP_URL "" CACHE STRING "An RFC 3161 time-stamp server; empty: no time stamp")
set(package_stage ${CMAKE_BINARY_DIR}/package/QuorblexPro-${PROJECT_VERSION}-windows-x64)
set(package_setup ${CMAKE_BINARY_DIR}/QuorblexPro-${PROJECT_VERSION}-setup.exe)
set(package_zip ${CMAKE_BINARY_DIR}/QuorblexPro-${PROJECT_VERSION}-windows-x64.zip)
# Who signs, as the package build's environment or the cache says: the file changes only when the
# certificate does.
set(package_signer ${CMAKE_BINARY_DIR}/installer/signer.txt)
add_custom_target(package_signer
  COMMAND ${CMAKE_COMMAND} -DOUT=${package_signer} -DSIGN_PFX=${QUORBLEX_SIGN_PFX}
          -DSIGN_TIMESTAMP_URL=${QUORBLEX_SIGN_TIMESTAMP_URL}
          -P ${CMAKE_SOURCE_DIR}/installer/Signer.cmake
  BYPRODUCTS ${package_signer}
  VERBATIM)
# The packages are made again only when something they hold or are made with has changed.
file(GLOB package_sounds CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/sounds/*)
add_custom_command(OUTPUT ${package_setup} ${package_zip} ${package_stage}/quorblex-sim.exe
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${package_stage}
  COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${package_stage} --strip
  COMMAND ${CMAKE_COMMAND} -DSTAGE=${package_stage} -DOUT_DIR=${CMAKE_BINARY_DIR}
          -DVERSION=${PROJECT_VERSION} -DMAKENSIS=${QUORBLEX_MAKENSIS}
          -DNSIS_SCRIPT=${CMAKE_SOURCE_DIR}/installer/QuorblexPro.nsi
          -DICON=${CMAKE_SOURCE_DIR}/res/icons/quorblex.ico
          -DPORTRAIT=${CMAKE_SOURCE_DIR}/res/bitmaps/168@2x.bmp
          -DLICENSE=${CMAKE_SOURCE_DIR}/LICENSES/GPL-3.0-or-later.txt
          "-DMTIME=${QUORBLEX_RELEASE_DATE} 12:00:00"
          -DOSSLSIGNCODE=${QUORBLEX_OSSLSIGNCODE} -DSIGN_PFX=${QUORBLEX_SIGN_PFX}
          -DSIGN_PASSWORD=${QUORBLEX_SIGN_PASSWORD}
          -DSIGN_TIMESTAMP_URL=${QUORBLEX_SIGN_TIMESTAMP_URL}
          -P ${CMAKE_SOURCE_DIR}/installer/MakePackages.cmake
  DEPENDS ${windows_programs} ${package_sounds} ${package_signer} ${windows_readme}
          ${CMAKE_SOURCE_DIR}/res/qx.avi ${CMAKE_SOURCE_DIR}/res/qx@1.5x.avi
          ${CMAKE_SOURCE_DIR}/res/qx@2x.avi ${CMAKE_SOURCE_DIR}/res/quorblex.html
          ${CMAKE_SOURCE_DIR}/res/icons/quorblex.ico ${CMAKE_SOURCE_DIR}/res/bitmaps/168@2x.bmp
          ${CMAKE_SOURCE_DIR}/LICENSES/GPL-3.0-or-later.txt
          ${CMAKE_SOURCE_DIR}/installer/QuorblexPro.nsi
          ${CMAKE_SOURCE_DIR}/installer/MakePackages.cmake
          ${CMAKE_SOURCE_DIR}/installer/Sign.cmake ${CMAKE_CURRENT_LIST_FILE}
  COMMENT "Packaging Quorblex Pro for Windows"
  VERBATIM)
add_custom_target(package DEPENDS ${package_setup} ${package_zip})
add_dependencies(package package_signer)

# The installer under Wine: silent install, the shortcut and the Apps & features entry, the
# installed program starts, the silent uninstall removes it all and keeps the user's profile.
add_test(NAME WindowsInstaller.InstallsStartsAndUninstalls
         COMMAND ${CMAKE_SOURCE_DIR}/tests/windows/installer.sh ${CMAKE_BINARY_DIR})
set_tests_properties(WindowsInstaller.InstallsStartsAndUninstalls PROPERTIES TIMEOUT 300)
