# The Windows download: Tolvane.exe, README and LICENSE in one .zip per architecture.
# No installer: the program is one file that writes nothing.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(architecture x64)
else()
    set(architecture x86)
endif()

install(TARGETS Tolvane RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
# Windows opens files by their extension; a bare LICENSE would ask which program to use.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME Tolvane-${PROJECT_VERSION}-windows-${architecture})
set_property(GLOBAL PROPERTY TOLVANE_PACKAGE_FILE_NAME ${CPACK_PACKAGE_FILE_NAME})
