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
#   tessivane_wine_gtest(<target> <prefix> [ENGLISH] [FILTER <pattern>])
#       one ctest test per GoogleTest case of the program, "<prefix><Suite>.<Case>",
#       each run alone under Wine (in the English prefix with ENGLISH). The
#       tests hold the resource locks of the target's property
#       TESSIVANE_WINE_LOCKS (set it anywhere in the directory). ctest lists
#       the cases by running the program with --gtest_list_tests the first
#       time it runs after a build.
#   tessivane_check_pe(<target> GUI|CONSOLE [LARGE_ADDRESS_AWARE])
#       ctest test "pe.<target>": the file is a PE executable of that
#       subsystem and imports only system DLLs (and, when asked, may use
#       addresses above 2 GB).
#
# Every Wine test requires the fixture "wine" (tests wine.setup and
# wine.cleanup, added by tests/windows/CMakeLists.txt), so the prefix is
# made and the display started once per ctest run, whatever subset runs.

include(GoogleTest)

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

# The cases are listed by ctest before it runs anything (the discovery
# mode PRE_TEST: the build needs no Wine), with the program run by
# wine-test as the target's emulator, and only again once the program is
# newer than its list. The tests' properties come after the list, from a
# file of this directory's test includes: the list is known only then.
function(tessivane_wine_gtest target prefix)
  cmake_parse_arguments(GT "ENGLISH" "FILTER" "" ${ARGN})
  set(state ${TESSIVANE_WINE_STATE})
  set(fixture wine)
  set(emulator ${TESSIVANE_WINE_TEST} case)
  if(GT_ENGLISH)
    set(state ${TESSIVANE_WINE_STATE_EN})
    set(fixture wine-en)
    set(emulator env TESSIVANE_WINE_LOCALE=${TESSIVANE_WINE_LOCALE_EN} ${emulator})
  endif()
  string(MAKE_C_IDENTIFIER "${prefix}" list)
  # The emulator is read when the discovery is set up; a second discovery
  # of the same program (another prefix) sets it again.
  set_property(TARGET ${target} PROPERTY CROSSCOMPILING_EMULATOR ${emulator} ${state})
  set(filter)
  if(GT_FILTER)
    set(filter TEST_FILTER ${GT_FILTER})
  endif()
  gtest_discover_tests(${target} TEST_PREFIX ${prefix} EXTRA_ARGS --gtest_color=no ${filter} NO_PRETTY_VALUES
    DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_LIST ${list})
  set(properties ${CMAKE_CURRENT_BINARY_DIR}/${list}_properties.cmake)
  file(GENERATE OUTPUT ${properties} CONTENT
    "if(${list})
  set_tests_properties(\${${list}} PROPERTIES FIXTURES_REQUIRED ${fixture} LABELS \"windows;wine\" TIMEOUT 300
                       RESOURCE_LOCK \"$<TARGET_PROPERTY:${target},TESSIVANE_WINE_LOCKS>\")
endif()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${properties})
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
