# cmake -DMANIFEST=BUILD/install_manifest.txt -P Uninstall.cmake: removes
# each file the manifest lists (the paths of the last install; below
# DESTDIR when it is set, as for the install). Files that are gone already
# are named and passed over; the folders stay, since others' files may
# share them.
if(NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "Nothing to uninstall: there is no ${MANIFEST} (it is written by cmake --install)")
endif()
file(STRINGS "${MANIFEST}" files)
set(failed "")
foreach(listed IN LISTS files)
  set(file "$ENV{DESTDIR}${listed}")
  if(IS_SYMLINK "${file}" OR EXISTS "${file}")
    message(STATUS "Removing: ${file}")
    file(REMOVE "${file}")
    if(IS_SYMLINK "${file}" OR EXISTS "${file}")
      list(APPEND failed "${file}")
    endif()
  else()
    message(STATUS "Not there: ${file}")
  endif()
endforeach()
if(NOT failed STREQUAL "")
  message(FATAL_ERROR "Could not remove: ${failed}")
endif()
