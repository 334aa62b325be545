# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Building for web browsers and node (emcmake, Debian's Emscripten): how every target is
# compiled and linked. Included by the top file before any target exists;
# cmake/WebPrograms.cmake adds the page, the simulator for node, the site and its tests once
# the core is known.
#
# Emscripten's tools run on this machine's node, which finds Debian's node modules (acorn,
# which the optimiser needs) only on NODE_PATH.
if(NOT DEFINED ENV{NODE_PATH})
  set(ENV{NODE_PATH} /usr/share/nodejs)
endif()

# The script reader and the command lines report bad input by throwing; JavaScript-based
# exceptions work with Asyncify, which the page's waits need.
add_compile_options(-fexceptions)
add_link_options(-fexceptions -sALLOW_MEMORY_GROWTH=1)

enable_testing()
