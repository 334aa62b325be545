# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the loose data files (cues, the clip and its high-density companions, help page) into one folder of the build tree, as
# links to the source tree, so the programs find them by bare name as when installed.
# Run as: cmake -DSRC=<source>/res -DDST=<build>/res -P LinkData.cmake
file(MAKE_DIRECTORY "${DST}")
file(GLOB files "${SRC}/sounds/*")
foreach(extra qx.avi qx@1.5x.avi qx@2x.avi quorblex.html)
  if(EXISTS "${SRC}/${extra}")
    list(APPEND files "${SRC}/${extra}")
  endif()
endforeach()
foreach(f ${files})
  get_filename_component(name "${f}" NAME)
  if(NOT EXISTS "${DST}/${name}")
    file(CREATE_LINK "${f}" "${DST}/${name}" SYMBOLIC)
  endif()
endforeach()
