# Writes the embedded resource table (a C++ file) for the resources named in LIST to OUTPUT.
get_filename_component(_dir ${LIST} DIRECTORY)
file(STRINGS ${LIST} _lines REGEX "^[A-Z][^ ]* +RCDATA ")
set(_arrays "")
set(_entries "")
set(_index 0)
foreach(_line IN LISTS _lines)
  string(REGEX REPLACE "^([^ ]+) +RCDATA +(.+)$" "\\1" _name "${_line}")
  string(REGEX REPLACE "^([^ ]+) +RCDATA +(.+)$" "\\2" _file "${_line}")
  file(READ ${_dir}/${_file} _hex HEX)
  string(LENGTH "${_hex}" _digits)
  math(EXPR _size "${_digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," _bytes "${_hex}")
  string(REGEX REPLACE "((0x..,){24})" "\\1\n" _bytes "${_bytes}")
  string(APPEND _arrays "static const unsigned char resource${_index}[] = {\n${_bytes}};\n")
  string(APPEND _entries "    {\"${_name}\", resource${_index}, ${_size}},\n")
  math(EXPR _index "${_index} + 1")
endforeach()
file(WRITE ${OUTPUT} "// Generated from resources.txt; do not edit.
#include \"platform/sdl/embedded_resources.h\"

${_arrays}
const EmbeddedResource kEmbeddedResources[] = {
${_entries}};
const size_t kEmbeddedResourceCount = ${_index};
")
