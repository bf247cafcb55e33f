# Builds the resources of resources.txt into the program: a resource script on Windows, a
# generated table of byte arrays elsewhere. resources.txt is the one list of names and files.
set(BRINDLEWICK_RESOURCE_LIST ${CMAKE_CURRENT_LIST_DIR}/resources.txt)
file(STRINGS ${BRINDLEWICK_RESOURCE_LIST} _resource_lines REGEX "^[A-Z]")

if(WIN32)
  # The script is written when CMake configures: the list's changes must configure again.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${BRINDLEWICK_RESOURCE_LIST})
  set(BRINDLEWICK_FILE_RESOURCES "")
  set(_resource_files)
  foreach(_line IN LISTS _resource_lines)
    string(REGEX REPLACE "^([^ ]+) +([^ ]+) +(.+)$" "\\1 \\2 \"${CMAKE_CURRENT_LIST_DIR}/\\3\"\n"
           _entry "${_line}")
    string(APPEND BRINDLEWICK_FILE_RESOURCES "${_entry}")
    string(REGEX REPLACE "^[^ ]+ +[^ ]+ +(.+)$" "${CMAKE_CURRENT_LIST_DIR}/\\1" _file "${_line}")
    list(APPEND _resource_files ${_file})
  endforeach()
  set(BRINDLEWICK_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/brindlewick.manifest)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/brindlewick.manifest.in ${BRINDLEWICK_MANIFEST} @ONLY)
  list(APPEND _resource_files ${BRINDLEWICK_MANIFEST})
  set(_rc ${CMAKE_CURRENT_BINARY_DIR}/brindlewick.rc)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/brindlewick.rc.in ${_rc} @ONLY)
  # windres's inputs are not scanned: a changed mask or icon must rebuild the resources.
  set_source_files_properties(${_rc} PROPERTIES OBJECT_DEPENDS "${_resource_files}")
  set(BRINDLEWICK_RESOURCE_SOURCES ${_rc})
else()
  # Only the raw-data blocks: the layer's FindResourceA serves nothing else.
  set(_resource_files)
  foreach(_line IN LISTS _resource_lines)
    if(_line MATCHES "^[^ ]+ +RCDATA +(.+)$")
      list(APPEND _resource_files ${CMAKE_CURRENT_LIST_DIR}/${CMAKE_MATCH_1})
    endif()
  endforeach()
  set(_table ${CMAKE_CURRENT_BINARY_DIR}/embedded_resources.cpp)
  add_custom_command(
    OUTPUT ${_table}
    COMMAND ${CMAKE_COMMAND} -DLIST=${BRINDLEWICK_RESOURCE_LIST} -DOUTPUT=${_table}
            -P ${CMAKE_CURRENT_LIST_DIR}/write_table.cmake
    DEPENDS ${BRINDLEWICK_RESOURCE_LIST} ${_resource_files}
            ${CMAKE_CURRENT_LIST_DIR}/write_table.cmake
    COMMENT "Embedding resources")
  set(BRINDLEWICK_RESOURCE_SOURCES ${_table})
endif()
