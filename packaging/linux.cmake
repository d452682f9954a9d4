# The installed program on Linux, and its .deb.
include(GNUInstallDirs)

# Its release day and every version's changes, from CHANGELOG.md.
include(${CMAKE_CURRENT_SOURCE_DIR}/changelog.cmake)

install(TARGETS tolvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Stripped as Debian strips: the compilers' .comment notes go too.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/tolvane\"
        COMMAND_ERROR_IS_FATAL ANY)
endif()")

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

set(docdir ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${docdir} RENAME copyright)

# A native package's changelog, every version's entry; signed when the package is made.
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/changelog.in "${TOLVANE_DEBIAN_CHANGELOG}\n")
install(CODE "set(TOLVANE_CHANGELOG ${changelog})
    include(${CMAKE_CURRENT_SOURCE_DIR}/write_changelog.cmake)")
install(FILES ${changelog} DESTINATION ${docdir})

# The manual page, compressed as Debian installs them.
set(manpage ${CMAKE_CURRENT_BINARY_DIR}/tolvane.1)
configure_file(${data}/tolvane.1.in ${manpage} @ONLY)
add_custom_command(OUTPUT ${manpage}.gz
                   COMMAND gzip -9nc ${manpage} > ${manpage}.gz
                   DEPENDS ${manpage})
add_custom_target(tolvane_manpage ALL DEPENDS ${manpage}.gz)
install(FILES ${manpage}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The .deb. Its maintainer comes from DEBFULLNAME and DEBEMAIL when cpack runs.
set(CPACK_GENERATOR DEB)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_SOURCE_DIR}/deb_cpack_options.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends comes from the libraries the program really links (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A free sans of about Tahoma's width, so the heading fits the fixed window,
# and Qt's Wayland plugin, so that Tolvane runs natively in Wayland sessions.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, qt6-wayland")
set(CPACK_STRIP_FILES ON)
