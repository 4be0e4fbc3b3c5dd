# What `cmake --install` puts beside the programs for the desktop, and the Debian package made
# from it (`cpack -G DEB` in a Release build configured with -DCMAKE_INSTALL_PREFIX=/usr).

set(ODRIVO_APP_ID org.odrivo.Odrivo)
set(ODRIVO_DIST ${PROJECT_SOURCE_DIR}/dist)

# Manual pages, compressed as Debian installs them.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(ODRIVO_MAN_PAGES odrivo-cli)
if(ODRIVO_GUI)
    list(APPEND ODRIVO_MAN_PAGES odrivo)
endif()
set(ODRIVO_MAN_FILES)
foreach(page IN LISTS ODRIVO_MAN_PAGES)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.1.gz)
    add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
        COMMAND ${GZIP_PROGRAM} -9nc ${ODRIVO_DIST}/man/${page}.1 > ${out}
        DEPENDS ${ODRIVO_DIST}/man/${page}.1 VERBATIM)
    list(APPEND ODRIVO_MAN_FILES ${out})
endforeach()
add_custom_target(odrivo_man ALL DEPENDS ${ODRIVO_MAN_FILES})
install(FILES ${ODRIVO_MAN_FILES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/odrivo RENAME copyright)

if(ODRIVO_GUI)
    install(FILES ${ODRIVO_DIST}/${ODRIVO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${ODRIVO_DIST}/${ODRIVO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${ODRIVO_DIST}/mime/${ODRIVO_APP_ID}.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/odrivo.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${ODRIVO_APP_ID}.svg)
    foreach(size 16 24 32 48 64 128 256)
        install(FILES ${ODRIVO_DIST}/icons/odrivo-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${ODRIVO_APP_ID}.png)
    endforeach()
    install(FILES ${ODRIVO_DIST}/help/index.html DESTINATION ${CMAKE_INSTALL_DATADIR}/odrivo/help)
endif()

# The desktop files must pass their validators without a warning; the tests run them when the
# validators are installed.
if(ODRIVO_TESTS AND ODRIVO_GUI)
    find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
    find_program(APPSTREAMCLI appstreamcli)
    if(DESKTOP_FILE_VALIDATE)
        # It prints warnings and hints but fails only on errors: any output fails the test.
        add_test(NAME desktop_entry_validates COMMAND sh -c "out=$(\"$0\" \"$1\" 2>&1); echo \"$out\"; [ -z \"$out\" ]"
            ${DESKTOP_FILE_VALIDATE} ${ODRIVO_DIST}/${ODRIVO_APP_ID}.desktop)
    endif()
    if(APPSTREAMCLI)
        add_test(NAME metainfo_validates
            COMMAND ${APPSTREAMCLI} validate --no-net --strict ${ODRIVO_DIST}/${ODRIVO_APP_ID}.metainfo.xml)
    endif()
    add_test(NAME odrivo_version COMMAND odrivo --version)
    set_tests_properties(odrivo_version PROPERTIES PASS_REGULAR_EXPRESSION "^Odrivo ${PROJECT_VERSION}\n$")
endif()
if(ODRIVO_TESTS)
    add_test(NAME odrivo_cli_version COMMAND odrivo-cli --version)
    set_tests_properties(odrivo_cli_version PROPERTIES PASS_REGULAR_EXPRESSION "^odrivo-cli ${PROJECT_VERSION}\n$")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME odrivo)
set(CPACK_PACKAGE_VENDOR Quorvane)
set(CPACK_PACKAGE_CONTACT "Quorvane Support <support@odrivo.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "running log of your road vehicles")
set(CPACK_PACKAGE_DESCRIPTION "Odrivo keeps the log of your vehicles: fuel purchases, repairs and maintenance,
and business trips. From the log it derives fuel economy, cost statistics,
maintenance reminders and reports. The package holds the desktop program and
the command-line tool odrivo-cli.")
set(CPACK_PACKAGE_HOMEPAGE_URL https://www.odrivo.org/)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The Qt libraries the programs link (the SVG one with its plugins) come from dpkg-shlibdeps; the
# report fonts and the icon theme are used at run time only, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, shared-mime-info, desktop-file-utils")
include(CPack)
