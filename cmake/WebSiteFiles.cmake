# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Copies the site's files into DST (build-web/site): the page's script and style, the icons,
# every bitmap at every density, the cues, the clips and the help page. Only what changed is
# copied again.
# Run as: cmake -DSRC=<source> -DDST=<build>/site -P WebSiteFiles.cmake
function(copy_into dir)
  file(MAKE_DIRECTORY "${DST}/${dir}")
  foreach(f ${ARGN})
    get_filename_component(name "${f}" NAME)
    file(COPY_FILE "${f}" "${DST}/${dir}/${name}" ONLY_IF_DIFFERENT)
  endforeach()
endfunction()

copy_into(. ${SRC}/host/web/site/desktop.js ${SRC}/host/web/site/quorblex.css
          ${SRC}/res/quorblex.html)
file(GLOB icons ${SRC}/res/icons/quorblex-*.png)
copy_into(icons ${icons})
# The help page names no icon of its own; browsers then ask for this one.
file(COPY_FILE "${SRC}/res/icons/quorblex.ico" "${DST}/favicon.ico" ONLY_IF_DIFFERENT)
file(GLOB bitmaps ${SRC}/res/bitmaps/*.bmp)
copy_into(bitmaps ${bitmaps})
file(GLOB sounds ${SRC}/res/sounds/*)
copy_into(sounds ${sounds})
copy_into(data ${SRC}/res/qx.avi ${SRC}/res/qx@1.5x.avi ${SRC}/res/qx@2x.avi)
