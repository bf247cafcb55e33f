# Builds the resources of resources.txt into the program: a resource script on Windows, a
# generated table of byte arrays elsewhere. resources.txt is the one list of names and files.
set(BRINDLEWICK_RESOURCE_LIST ${CMAKE_CURRENT_LIST_DIR}/resources.txt)
file(STRINGS ${BRINDLEWICK_RESOURCE_LIST} _resource_lines REGEX "^[A-Z]")
set(_resource_files)
foreach(_line IN LISTS _resource_lines)
  string(REGEX REPLACE "^[^ ]+ +" "" _file "${_line}")
  list(APPEND _resource_files ${CMAKE_CURRENT_LIST_DIR}/${_file})
endforeach()

if(WIN32)
  set(_rc ${CMAKE_CURRENT_BINARY_DIR}/brindlewick.rc)
  set(_rc_text "")
  foreach(_line IN LISTS _resource_lines)
    string(REGEX REPLACE "^([^ ]+) +(.+)$" "\\1 RCDATA \"${CMAKE_CURRENT_LIST_DIR}/\\2\"\n" _entry "${_line}")
    string(APPEND _rc_text "${_entry}")
  endforeach()
  file(WRITE ${_rc} "${_rc_text}")
  set(BRINDLEWICK_RESOURCE_SOURCES ${_rc})
else()
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
