# The scripted test plug-in (scripted.c) and its builds that leave out one
# export (or two), as libraries tessivane_test_plugin_<kind> in the current
# build folder: shared objects natively, stdcall DLLs with plain export
# names on Windows. Sets <out> to the list of targets.
function(tessivane_scripted_test_plugins out)
  set(kinds
    scripted ""
    without_identify WITHOUT_IDENTIFY
    without_size WITHOUT_SIZE
    without_trans WITHOUT_TRANS
    without_symmetry WITHOUT_SYMMETRY
    without_size_symmetry "WITHOUT_SIZE;WITHOUT_SYMMETRY")
  set(targets)
  while(kinds)
    list(POP_FRONT kinds kind definitions)
    set(target tessivane_test_plugin_${kind})
    add_library(${target} MODULE ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/scripted.c)
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/plugins/include)
    set_target_properties(${target} PROPERTIES PREFIX "" C_VISIBILITY_PRESET hidden
      LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    if(WIN32)
      target_link_options(${target} PRIVATE -Wl,--kill-at)
    endif()
    if(definitions)
      target_compile_definitions(${target} PRIVATE ${definitions})
    endif()
    list(APPEND targets ${target})
  endwhile()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()
