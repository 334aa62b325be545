# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop program: the Qt host, `quorblex`, their tests and benchmark, and the install
# rules for the desktop entry and the icons. Included by the top file when QUORBLEX_DESKTOP is on.
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
find_package(X11)

# ---- The Qt host -----------------------------------------------------------------------------
file(GLOB QT_HOST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/host/qt/*.cpp)
add_library(quorblex_qt STATIC ${QT_HOST_SOURCES})
target_link_libraries(quorblex_qt PUBLIC quorblex_shared_host quorblex_core Qt6::Widgets)

add_executable(quorblex ${CMAKE_SOURCE_DIR}/desktop/main.cpp
                        ${CMAKE_SOURCE_DIR}/desktop/DesktopCommandLine.cpp
                        $<TARGET_OBJECTS:quorblex_program>)
target_link_libraries(quorblex PRIVATE quorblex_qt quorblex_audio quorblex_core)
if(TARGET quorblex_data)
  add_dependencies(quorblex quorblex_data)  # the cues, the clip and the help page beside it
endif()

# ---- Tests -----------------------------------------------------------------------------------
# The host on Qt's offscreen platform: core state to widgets, widget input to core input.
# What a screen reader is told, through QAccessible, in the same program.
add_executable(quorblex_qt_tests ${CMAKE_SOURCE_DIR}/tests/QtHostTest.cpp
                                 ${CMAKE_SOURCE_DIR}/tests/AccessibilityTest.cpp)
target_link_libraries(quorblex_qt_tests PRIVATE quorblex_qt quorblex_core Qt6::Test GTest::gtest)
target_compile_definitions(quorblex_qt_tests PRIVATE QUORBLEX_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  QUORBLEX_SIM="$<TARGET_FILE:quorblex-sim> --data ${CMAKE_BINARY_DIR}/res")
add_dependencies(quorblex_qt_tests quorblex-sim)
quorblex_test_code(quorblex_qt_tests)
gtest_discover_tests(quorblex_qt_tests DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
# A dialog's texts on screens of device pixel ratio 1.5 and 2, where Qt measures them anew.
foreach(ratio 1.5 2)
  add_test(NAME QtHostTest.DialogTextsAtRatio${ratio}
    COMMAND quorblex_qt_tests --gtest_filter=QtHostTest.EveryDialogHasOneFont*)
  set_tests_properties(QtHostTest.DialogTextsAtRatio${ratio} PROPERTIES TIMEOUT 120
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=${ratio}")
endforeach()

# The program introduces itself without any display, and refuses what it does not know
# with status 2 and its usage on standard error.
add_test(NAME DesktopProgram.CommandLineWithoutDisplay
  COMMAND sh -c [[
    q=$1; v=$2
    unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
    out=$("$q" --version)
    [ "$(printf '%s\n' "$out" | head -n1)" = "quorblex (Quorblex Pro) $v" ] &&
      printf '%s\n' "$out" | grep -q 'GPL-3.0-or-later' || { echo "--version is wrong"; exit 1; }
    "$q" --help 2>/dev/null | head -n1 | grep -q '^usage: quorblex ' || { echo "--help is wrong"; exit 1; }
    err=$("$q" -style Windows --frobnicate 2>&1 >/dev/null); s=$?
    [ $s -eq 2 ] || { echo "unknown option exits $s, not 2"; exit 1; }
    [ "$(printf '%s\n' "$err" | head -n1)" = "quorblex: unknown option --frobnicate" ] &&
      printf '%s\n' "$err" | sed -n 2p | grep -q '^usage: quorblex ' ||
      { echo "unknown option said: $err"; exit 1; }
    ]] sh $<TARGET_FILE:quorblex> ${PROJECT_VERSION})

# The real program on a private X server (Xvfb), driven with xdotool.
file(GLOB DESKTOP_HARNESS_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/desktop/Harness*.cpp)
file(GLOB DESKTOP_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/desktop/*Test.cpp)
if(X11_FOUND)
  add_library(quorblex_desktop_harness STATIC ${DESKTOP_HARNESS_SOURCES})
  target_link_libraries(quorblex_desktop_harness PUBLIC quorblex_core X11::X11)
  target_compile_definitions(quorblex_desktop_harness PUBLIC
    QUORBLEX_PROGRAM="$<TARGET_FILE:quorblex>"
    QUORBLEX_SCREENSHOTS="${CMAKE_BINARY_DIR}/screenshots")

  add_executable(quorblex_paint_probe ${CMAKE_SOURCE_DIR}/tests/desktop/PaintProbe.cpp)
  target_link_libraries(quorblex_paint_probe PRIVATE quorblex_qt quorblex_core)
  add_executable(quorblex_dialog_probe ${CMAKE_SOURCE_DIR}/tests/desktop/DialogProbe.cpp)
  target_link_libraries(quorblex_dialog_probe PRIVATE quorblex_qt quorblex_core)

  add_executable(quorblex_desktop_tests ${DESKTOP_TEST_SOURCES})
  target_link_libraries(quorblex_desktop_tests PRIVATE quorblex_desktop_harness GTest::gtest_main)
  target_compile_definitions(quorblex_desktop_tests PRIVATE
    QUORBLEX_PAINT_PROBE="$<TARGET_FILE:quorblex_paint_probe>"
    QUORBLEX_DIALOG_PROBE="$<TARGET_FILE:quorblex_dialog_probe>"
    QUORBLEX_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    QUORBLEX_SCREEN_READER="${CMAKE_SOURCE_DIR}/tests/desktop/screen_reader.py")
  add_dependencies(quorblex_desktop_tests quorblex quorblex_paint_probe quorblex_dialog_probe)
  quorblex_test_code(quorblex_desktop_tests)
  gtest_discover_tests(quorblex_desktop_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 180)

  # ---- Benchmark (prints figures; not a test) ------------------------------------------------
  # A plain Qt Widgets program doing the same visible work, measured beside ours.
  add_executable(quorblex_qt_peer EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/QtPeer.cpp)
  target_link_libraries(quorblex_qt_peer PRIVATE Qt6::Widgets)
  # It clicks through XTEST itself where it needs to know the moment of the press.
  if(TARGET X11::Xtst)
    add_executable(quorblex_desktop_bench EXCLUDE_FROM_ALL
                   ${CMAKE_SOURCE_DIR}/bench/DesktopBench.cpp ${CMAKE_SOURCE_DIR}/bench/LampRow.cpp)
    target_link_libraries(quorblex_desktop_bench PRIVATE quorblex_desktop_harness X11::Xtst)
    target_compile_definitions(quorblex_desktop_bench PRIVATE
      QUORBLEX_QT_PEER="$<TARGET_FILE:quorblex_qt_peer>")
    add_dependencies(quorblex_desktop_bench quorblex quorblex_qt_peer)
  endif()
endif()

# ---- Install ---------------------------------------------------------------------------------
include(GNUInstallDirs)
install(TARGETS quorblex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/res/quorblex.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# Each size is drawn on its own by the art generator (tools/gen_art.sh), not scaled.
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/res/icons/quorblex-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME quorblex.png)
endforeach()
