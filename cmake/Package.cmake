# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Installing and packaging: the man pages, the Debian documentation files, the AppStream
# metadata and the CPack set-up that writes quorblex_<version>_<arch>.deb with
# `cmake --build build --target package`. Included last by the top file, once every program
# and its own install rules are known.
include(GNUInstallDirs)

set(QUORBLEX_MAINTAINER "Quorblex Instrument Works <packages@quorblex.invalid>")
execute_process(COMMAND date -u -R -d "${QUORBLEX_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE QUORBLEX_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE)

# Man pages and the changelog are installed compressed, as Debian keeps them; -n leaves the
# time and name out so the package is the same from one build to the next.
set(doc_dir ${CMAKE_BINARY_DIR}/doc)
set(gzipped "")
foreach(page quorblex.6 quorblex-sim.6 changelog)
  configure_file(${CMAKE_SOURCE_DIR}/doc/${page}.in ${doc_dir}/${page} @ONLY)
  add_custom_command(OUTPUT ${doc_dir}/${page}.gz
    COMMAND gzip -9nf -k ${doc_dir}/${page}
    DEPENDS ${doc_dir}/${page}
    COMMENT "Compressing ${page}")
  list(APPEND gzipped ${doc_dir}/${page}.gz)
endforeach()
add_custom_target(quorblex_docs ALL DEPENDS ${gzipped})

install(FILES ${doc_dir}/quorblex-sim.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${doc_dir}/changelog.gz ${CMAKE_SOURCE_DIR}/doc/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
if(QUORBLEX_DESKTOP)
  install(FILES ${doc_dir}/quorblex.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  set(metainfo ${CMAKE_BINARY_DIR}/io.github.quorblex.Quorblex.metainfo.xml)
  configure_file(${CMAKE_SOURCE_DIR}/res/io.github.quorblex.Quorblex.metainfo.xml.in ${metainfo}
                 @ONLY)
  install(FILES ${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# The package is in section games, whose programs Debian keeps in /usr/games; they stay in
# /usr/bin, where everyone's PATH finds them, and /usr/games links to them.
set(games_links ${CMAKE_BINARY_DIR}/games)
file(MAKE_DIRECTORY ${games_links})
set(programs quorblex-sim)
if(QUORBLEX_DESKTOP)
  list(APPEND programs quorblex)
endif()
foreach(program ${programs})
  file(CREATE_LINK ../bin/${program} ${games_links}/${program} SYMBOLIC)
  install(FILES ${games_links}/${program} DESTINATION games)
endforeach()

# ---- The Debian package ---------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorblex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${QUORBLEX_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "pretend instrument that scans for alien life")
# The long description; CPack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Quorblex Pro is a desktop novelty program. Its window shows an animated
scanning scene, a sweeping bar of lamps and six buttons. A full scan reveals,
and speaks, whether aliens are present, how near they are, what type they are
and how probable an abduction is; an abductee scan reads your fingertips on a
twinkling sensor plate. Every outcome is drawn at random.
.
The package also holds quorblex-sim, which runs the same program on virtual
time from a script and prints a transcript, for tests and demonstrations.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # quorblex_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # Depends from the libraries actually linked
if(QUORBLEX_DESKTOP)
  # The dialogs' font and its condensed faces (a dialog whose texts need it is drawn narrower),
  # and SDL: the sound player opens libSDL2-2.0.so.0 itself when the first cue plays, so no
  # linked library names it to dpkg-shlibdeps.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-dejavu-extra, libsdl2-2.0-0")
endif()
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
