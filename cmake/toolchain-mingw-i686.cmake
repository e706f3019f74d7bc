# 32-bit Windows (i686-w64-mingw32): the build used by 32-bit plug-ins.
set(TESSIVANE_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
