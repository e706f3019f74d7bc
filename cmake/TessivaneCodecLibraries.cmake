# The JPEG and PNG libraries, as two targets that work the same in every
# build tree:
#
#   tessivane::jpeg   libjpeg-turbo (jpeglib.h, libjpeg 6b API)
#   tessivane::png    libpng 1.6 (png.h), with zlib
#   tessivane::zlib   zlib
#
# Native: the system libraries (libjpeg62-turbo-dev, libpng-dev, zlib1g-dev).
# Windows: static libraries cross-built from Debian's sources by
# scripts/build-codecs into a cache outside the work tree; configure runs
# it (a no-op once built) to learn the prefix, unless TESSIVANE_CODEC_PREFIX
# names one. zlib is Debian's mingw build (libz-mingw-w64-dev).

if(NOT WIN32)
  find_package(JPEG REQUIRED)
  find_package(PNG REQUIRED)
  find_package(ZLIB REQUIRED)
  add_library(tessivane::jpeg INTERFACE IMPORTED GLOBAL)
  target_link_libraries(tessivane::jpeg INTERFACE JPEG::JPEG)
  add_library(tessivane::png INTERFACE IMPORTED GLOBAL)
  target_link_libraries(tessivane::png INTERFACE PNG::PNG)
  add_library(tessivane::zlib INTERFACE IMPORTED GLOBAL)
  target_link_libraries(tessivane::zlib INTERFACE ZLIB::ZLIB)
  return()
endif()

if(NOT TESSIVANE_MINGW_TRIPLE)
  message(FATAL_ERROR "Windows builds use the toolchain files in cmake/ (cmake --preset win32 or win64)")
endif()

set(TESSIVANE_CODEC_PREFIX "" CACHE PATH
  "Prefix holding the cross-built libjpeg.a and libpng16.a (empty: ask scripts/build-codecs)")
if(TESSIVANE_CODEC_PREFIX)
  set(_codec_prefix ${TESSIVANE_CODEC_PREFIX})
else()
  message(STATUS "JPEG/PNG libraries for ${TESSIVANE_MINGW_TRIPLE}: scripts/build-codecs")
  execute_process(
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/build-codecs --print-prefix ${TESSIVANE_MINGW_TRIPLE}
    OUTPUT_VARIABLE _codec_prefix
    OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE _codec_result)
  if(NOT _codec_result EQUAL 0)
    message(FATAL_ERROR "scripts/build-codecs failed (${_codec_result})")
  endif()
endif()
message(STATUS "JPEG/PNG libraries: ${_codec_prefix}")
# Configure again if the prefix is rebuilt or removed.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_codec_prefix}/.complete)

set(_zlib /usr/${TESSIVANE_MINGW_TRIPLE}/lib/libz.a)
foreach(_file ${_codec_prefix}/lib/libjpeg.a ${_codec_prefix}/lib/libpng16.a
              ${_codec_prefix}/include/jpeglib.h ${_codec_prefix}/include/png.h ${_zlib})
  if(NOT EXISTS ${_file})
    message(FATAL_ERROR "${_file} is missing: run scripts/build-codecs (and install libz-mingw-w64-dev)")
  endif()
endforeach()

add_library(tessivane::zlib STATIC IMPORTED GLOBAL)
set_target_properties(tessivane::zlib PROPERTIES IMPORTED_LOCATION ${_zlib})

add_library(tessivane::jpeg STATIC IMPORTED GLOBAL)
set_target_properties(tessivane::jpeg PROPERTIES
  IMPORTED_LOCATION ${_codec_prefix}/lib/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${_codec_prefix}/include)

add_library(tessivane::png STATIC IMPORTED GLOBAL)
set_target_properties(tessivane::png PROPERTIES
  IMPORTED_LOCATION ${_codec_prefix}/lib/libpng16.a
  INTERFACE_INCLUDE_DIRECTORIES ${_codec_prefix}/include
  INTERFACE_LINK_LIBRARIES tessivane::zlib)
