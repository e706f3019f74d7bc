# Helpers for the Windows (mingw-w64) build trees: running programs under
# Wine from ctest, and checking what each Windows binary is and imports.
# Included by the top CMakeLists.txt in the win32 and win64 trees only.
#
#   tessivane_wine_test(<name> <target-or-path> [args...])
#       ctest test "<name>" running the program under Wine with the build
#       tree's private prefix and virtual display. Labels: windows, wine.
#   tessivane_wine_script_test(<name> <host-script> [args...])
#       ctest test running a Linux script (a window-level harness, say) with
#       TESSIVANE_WINE_TEST (the wrapper) and TESSIVANE_WINE_STATE set:
#       `eval "$("$TESSIVANE_WINE_TEST" env "$TESSIVANE_WINE_STATE")"` gives
#       it WINEPREFIX and DISPLAY for wine, xdotool and import. Such tests
#       hold the resource lock "wine-display", so two never share the screen.
#   tessivane_english_wine_test(<name> <target-or-path> [args...])
#       the same under LANG=en_US.UTF-8 in the English prefix (fixture
#       "wine-en"): the saver speaks English there.
#   tessivane_check_pe(<target> GUI|CONSOLE [LARGE_ADDRESS_AWARE])
#       ctest test "pe.<target>": the file is a PE executable of that
#       subsystem and imports only system DLLs (and, when asked, may use
#       addresses above 2 GB).
#
# Every Wine test requires the fixture "wine" (tests wine.setup and
# wine.cleanup, added by tests/windows/CMakeLists.txt), so the prefix is
# made and the display started once per ctest run, whatever subset runs.

set(TESSIVANE_WINE_TEST ${CMAKE_SOURCE_DIR}/scripts/lib/wine-test)
set(TESSIVANE_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
set(TESSIVANE_WINE_STATE_EN ${CMAKE_BINARY_DIR}/wine-en)
set(TESSIVANE_WINE_LOCALE_EN en_US.UTF-8)
set(TESSIVANE_CHECK_PE ${CMAKE_SOURCE_DIR}/scripts/lib/check-pe)

function(_tessivane_wine_properties name)
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED wine
    LABELS "windows;wine"
    TIMEOUT 300)
endfunction()

function(tessivane_wine_test name program)
  if(TARGET ${program})
    set(program $<TARGET_FILE:${program}>)
  endif()
  add_test(NAME ${name} COMMAND ${TESSIVANE_WINE_TEST} run ${TESSIVANE_WINE_STATE} ${program} ${ARGN})
  _tessivane_wine_properties(${name})
endfunction()

function(tessivane_wine_script_test name script)
  add_test(NAME ${name} COMMAND ${script} ${ARGN})
  _tessivane_wine_properties(${name})
  set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wine-display)
  set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT
    TESSIVANE_WINE_TEST=${TESSIVANE_WINE_TEST}
    TESSIVANE_WINE_STATE=${TESSIVANE_WINE_STATE}
    TESSIVANE_OBJDUMP=${CMAKE_OBJDUMP})
endfunction()

# The same as tessivane_wine_test under an English locale, in a prefix,
# display and wineserver of its own (build/<preset>/wine-en, fixture
# "wine-en").
function(tessivane_english_wine_test name program)
  if(TARGET ${program})
    set(program $<TARGET_FILE:${program}>)
  endif()
  add_test(NAME ${name} COMMAND ${TESSIVANE_WINE_TEST} run ${TESSIVANE_WINE_STATE_EN} ${program} ${ARGN})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine-en LABELS "windows;wine" TIMEOUT 300
                       ENVIRONMENT TESSIVANE_WINE_LOCALE=${TESSIVANE_WINE_LOCALE_EN})
endfunction()

function(tessivane_check_pe target subsystem)
  if(NOT subsystem MATCHES "^(GUI|CONSOLE)$")
    message(FATAL_ERROR "tessivane_check_pe: subsystem must be GUI or CONSOLE, not '${subsystem}'")
  endif()
  set(extra)
  if("LARGE_ADDRESS_AWARE" IN_LIST ARGN)
    set(extra --large-address-aware)
  endif()
  add_test(NAME pe.${target}
    COMMAND ${TESSIVANE_CHECK_PE} --objdump ${CMAKE_OBJDUMP} --${subsystem} ${extra} $<TARGET_FILE:${target}>)
  set_tests_properties(pe.${target} PROPERTIES LABELS "windows;pe")
endfunction()
