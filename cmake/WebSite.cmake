# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# The site: build-web/site/ holds the page (index.html, its script and style), the program
# (quorblex.js and quorblex.wasm, from host/web/) and its data (cues, clips, bitmaps, help page,
# icons), a static folder any web server can serve from any path. `cmake --build build-web
# --target package` writes QuorblexPro-<version>-web.zip of it. Included by
# cmake/WebPrograms.cmake.
set(QUORBLEX_SITE ${CMAKE_BINARY_DIR}/site)

# The page's program. Its waits and synchronous cues suspend it with Asyncify while the page
# runs on; it is made anew (MODULARIZE) for each press of the start button. No eval: the page's
# Content-Security-Policy allows none.
file(GLOB WEB_HOST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/host/web/*.cpp)
add_library(quorblex_profile_web STATIC common/web/ProfileFile.cpp)
add_executable(quorblex-web ${WEB_HOST_SOURCES} ${CMAKE_SOURCE_DIR}/web/main.cpp
                            $<TARGET_OBJECTS:quorblex_program>)
target_link_libraries(quorblex-web PRIVATE quorblex_shared_host quorblex_core
                      quorblex_profile_web)
set(web_library ${CMAKE_SOURCE_DIR}/host/web/library.js)
set_target_properties(quorblex-web PROPERTIES OUTPUT_NAME quorblex
                      RUNTIME_OUTPUT_DIRECTORY ${QUORBLEX_SITE} LINK_DEPENDS ${web_library})
target_link_options(quorblex-web PRIVATE
  --js-library=${web_library}
  "SHELL:-s ASYNCIFY=1"
  "SHELL:-s ASYNCIFY_IMPORTS=['qx_wait','qx_play_sync']"
  "SHELL:-s ASYNCIFY_STACK_SIZE=65536"
  "SHELL:-s MODULARIZE=1" "SHELL:-s EXPORT_NAME=QuorblexPro"
  "SHELL:-s ENVIRONMENT=web" "SHELL:-s DYNAMIC_EXECUTION=0"
  "SHELL:-s EXPORTED_FUNCTIONS=['_main','_malloc','_free','_qx_clip_frame','_qx_clip_play','_qx_clip_at','_qx_place']"
  "SHELL:-s FILESYSTEM=1" "SHELL:-s EXIT_RUNTIME=0"
  -Os)

# The data, copied (the zip and any server take the folder as it is) with the page's own files.
file(GLOB sound_files RELATIVE ${CMAKE_SOURCE_DIR}/res/sounds CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/res/sounds/*)
string(REPLACE ";" " " QUORBLEX_SOUNDS "${sound_files}")
configure_file(${CMAKE_SOURCE_DIR}/host/web/site/index.html.in ${QUORBLEX_SITE}/index.html @ONLY)
add_custom_target(quorblex_site ALL
  COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_SOURCE_DIR} -DDST=${QUORBLEX_SITE}
          -P ${CMAKE_SOURCE_DIR}/cmake/WebSiteFiles.cmake
  COMMENT "Copying the site's files")
add_dependencies(quorblex-web quorblex_site)

set(web_stage ${CMAKE_BINARY_DIR}/package/QuorblexPro-${PROJECT_VERSION}-web)
add_custom_target(package
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/package
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${QUORBLEX_SITE} ${web_stage}
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/package
          ${CMAKE_COMMAND} -E tar cf ${CMAKE_BINARY_DIR}/QuorblexPro-${PROJECT_VERSION}-web.zip
          --format=zip QuorblexPro-${PROJECT_VERSION}-web
  DEPENDS quorblex-web quorblex_site
  COMMENT "Writing QuorblexPro-${PROJECT_VERSION}-web.zip")
