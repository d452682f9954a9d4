# The Windows download: Tolvane.exe, README.txt and LICENSE.txt in one .zip per architecture.
# No installer: the program is one file that writes nothing.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(architecture x64)
else()
    set(architecture x86)
endif()

install(TARGETS Tolvane RUNTIME DESTINATION .)
# Written for Windows users, as text files: .txt, so that a double-click opens them, and
# with CR LF line ends, which Windows 7's Notepad needs to show the lines.
set(text ${CMAKE_CURRENT_BINARY_DIR}/text)
configure_file(${PROJECT_SOURCE_DIR}/data/windows/README.txt.in ${text}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${text}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${text}/README.txt ${text}/LICENSE.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME Tolvane-${PROJECT_VERSION}-windows-${architecture})
set_property(GLOBAL PROPERTY TOLVANE_PACKAGE_FILE_NAME ${CPACK_PACKAGE_FILE_NAME})
