# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the loose data files (cues, the clip and its high-density companions, help page) into one folder of the build tree, as
# links to the source tree, so the programs find them by bare name as when installed. A Windows
# build (COPY true) gets copies, a folder that can be zipped or installed as it is.
# Run as: cmake -DSRC=<source>/res -DDST=<build>/res [-DCOPY=1] -P LinkData.cmake
file(MAKE_DIRECTORY "${DST}")
file(GLOB files "${SRC}/sounds/*")
foreach(extra qx.avi qx@1.5x.avi qx@2x.avi quorblex.html)
  if(EXISTS "${SRC}/${extra}")
    list(APPEND files "${SRC}/${extra}")
  endif()
endforeach()
foreach(f ${files})
  get_filename_component(name "${f}" NAME)
  if(COPY)
    file(COPY_FILE "${f}" "${DST}/${name}" ONLY_IF_DIFFERENT)
  elseif(NOT EXISTS "${DST}/${name}")
    file(CREATE_LINK "${f}" "${DST}/${name}" SYMBOLIC)
  endif()
endforeach()
