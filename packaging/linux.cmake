# The installed program on Linux, and its .deb.
include(GNUInstallDirs)

# The day the version in project() was released; change the two together.
set(TOLVANE_RELEASE_DATE 2026-12-06)

install(TARGETS tolvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The menu entry and the software centres' description, both named by the application id.
set(data ${PROJECT_SOURCE_DIR}/data/linux)
set(metainfo ${CMAKE_CURRENT_BINARY_DIR}/${TOLVANE_APP_ID}.metainfo.xml)
configure_file(${data}/${TOLVANE_APP_ID}.metainfo.xml.in ${metainfo} @ONLY)
install(FILES ${data}/${TOLVANE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# Where the tests find the files they validate.
set_property(GLOBAL PROPERTY TOLVANE_DESKTOP_FILE ${data}/${TOLVANE_APP_ID}.desktop)
set_property(GLOBAL PROPERTY TOLVANE_METAINFO_FILE ${metainfo})

# The icon: the design itself for any size, and PNGs rendered from it for the sizes
# desktops look up first.
set(icon_svg ${PROJECT_SOURCE_DIR}/data/icons/tolvane.svg)
set(hicolor ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${icon_svg} DESTINATION ${hicolor}/scalable/apps RENAME ${TOLVANE_APP_ID}.svg)

find_program(TOLVANE_RSVG_CONVERT rsvg-convert REQUIRED)
set(icon_pngs "")
foreach(size 16 24 32 48 64 128 256)
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size})
    add_custom_command(
        OUTPUT ${dir}/${TOLVANE_APP_ID}.png
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
        COMMAND ${TOLVANE_RSVG_CONVERT} --width=${size} --height=${size}
                --output=${dir}/${TOLVANE_APP_ID}.png ${icon_svg}
        DEPENDS ${icon_svg}
        VERBATIM)
    list(APPEND icon_pngs ${dir}/${TOLVANE_APP_ID}.png)
    install(FILES ${dir}/${TOLVANE_APP_ID}.png DESTINATION ${hicolor}/${size}x${size}/apps)
endforeach()
add_custom_target(tolvane_icons ALL DEPENDS ${icon_pngs} COMMENT "Rendering the icons")

install(FILES ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME} RENAME copyright)

# The .deb. Whoever publishes a package names themselves here.
set(TOLVANE_PACKAGE_MAINTAINER "the Tolvane authors <tolvane@localhost>"
    CACHE STRING "Maintainer field of the .deb")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_CONTACT ${TOLVANE_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends comes from the libraries the program really links (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A free sans of about Tahoma's width, so the heading fits the fixed window.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
set(CPACK_STRIP_FILES ON)
