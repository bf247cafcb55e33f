# What Windows users download: an x64 MSI installer made with msitools' wixl (Debian's NSIS makes
# only 32-bit installers) and a portable zip of the program and a read-me. Both are built by the
# `packages` target of the Windows build (tools/package_windows.sh).
# Fixed for ever: Windows Installer finds the installed version to replace by these.
set(BRINDLEWICK_UPGRADE_CODE C4D08C5B-2A4E-42DA-A7EC-6EAD743163EB)
set(BRINDLEWICK_COMPONENT_CODE 63BECE7D-B30B-4AF3-BFAA-BDE2C9C270ED)
math(EXPR _next_patch "${PROJECT_VERSION_PATCH} + 1")
set(BRINDLEWICK_NEXT_PATCH ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${_next_patch})

set(_out ${CMAKE_CURRENT_BINARY_DIR})
set(_wxs ${_out}/brindlewick.wxs)
set(_msi ${_out}/brindlewick-${PROJECT_VERSION}-x64.msi)
set(_portable brindlewick-${PROJECT_VERSION})
set(_zip ${_out}/${_portable}-windows-x64.zip)
configure_file(${CMAKE_CURRENT_LIST_DIR}/brindlewick.wxs.in ${_wxs} @ONLY)
# wixl takes no absolute paths: the .wxs names its files relative to itself, beside the program.
configure_file(${PROJECT_SOURCE_DIR}/resources/icons/brindlewick.ico ${_out}/brindlewick.ico COPYONLY)
# Notepad before Windows 10 shows a file without carriage returns as one line.
configure_file(${CMAKE_CURRENT_LIST_DIR}/README.txt.in ${_out}/${_portable}/README.txt @ONLY
               NEWLINE_STYLE CRLF)

find_program(BRINDLEWICK_WIXL wixl)
if(BRINDLEWICK_WIXL)
  add_custom_command(
    OUTPUT ${_msi}
    COMMAND ${BRINDLEWICK_WIXL} --arch x64 --output ${_msi} ${_wxs}
    WORKING_DIRECTORY ${_out}
    DEPENDS brindlewick ${_wxs} ${_out}/brindlewick.ico
    COMMENT "Making the installer ${_msi}")
else()
  add_custom_command(OUTPUT ${_msi}
    COMMAND ${CMAKE_COMMAND} -E echo "wixl is missing: apt-get install wixl"
    COMMAND ${CMAKE_COMMAND} -E false)
endif()
add_custom_command(
  OUTPUT ${_zip}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:brindlewick> ${_out}/${_portable}/
  COMMAND ${CMAKE_COMMAND} -E tar cf ${_zip} --format=zip ${_portable}
  WORKING_DIRECTORY ${_out}
  DEPENDS brindlewick ${_out}/${_portable}/README.txt
  COMMENT "Making the portable zip ${_zip}")
add_custom_target(packages DEPENDS ${_msi} ${_zip})
