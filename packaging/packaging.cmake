# Installation into the usual places and the Debian package. Included from the
# top-level CMakeLists.txt after every target exists (the executable's own install
# rule is beside it in main_window/qt/).
# The art (icons) is in art/, the files made here from templates in this folder.

include(GNUInstallDirs)

set(tornevo_packaging_dir ${CMAKE_CURRENT_LIST_DIR})
set(tornevo_art_dir ${PROJECT_SOURCE_DIR}/art)

# Desktop entry, AppStream metainfo and the icon in the hicolor theme, all named
# by the application id.
configure_file(${tornevo_packaging_dir}/desktop/tornevo.desktop.in
    ${PROJECT_BINARY_DIR}/packaging/${TORNEVO_APP_ID}.desktop @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/${TORNEVO_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

configure_file(${tornevo_packaging_dir}/desktop/tornevo.metainfo.xml.in
    ${PROJECT_BINARY_DIR}/packaging/${TORNEVO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/${TORNEVO_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

foreach(size IN LISTS TORNEVO_ICON_SIZES)
    install(FILES ${tornevo_art_dir}/icon/hicolor/${size}x${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME ${TORNEVO_APP_ID}.png)
endforeach()
install(FILES ${tornevo_art_dir}/icon/hicolor/scalable.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    RENAME ${TORNEVO_APP_ID}.svg)

# The Debian documentation: the licence in machine-readable form, the changelog and the
# manual page. The last two carry the version, so they are made in the build folder,
# and gzip -n leaves out the file's name and time, so that every build gives the same bytes.
if(NOT WIN32)
    # Debian's changelog wants the release date as RFC 2822 gives it, at noon UTC.
    execute_process(COMMAND date -u -R -d "${TORNEVO_RELEASE_DATE} 12:00:00 UTC"
        OUTPUT_VARIABLE TORNEVO_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    string(SUBSTRING "${TORNEVO_RELEASE_DATE}" 0 4 TORNEVO_RELEASE_YEAR)
    set(tornevo_debian_dir ${PROJECT_BINARY_DIR}/packaging/debian)
    configure_file(${tornevo_packaging_dir}/debian/changelog.in ${tornevo_debian_dir}/changelog @ONLY)
    configure_file(${tornevo_packaging_dir}/debian/tornevo.1.in ${tornevo_debian_dir}/tornevo.1 @ONLY)
    configure_file(${tornevo_packaging_dir}/debian/copyright.in ${tornevo_debian_dir}/copyright @ONLY)
    find_program(GZIP_COMMAND gzip REQUIRED)
    set(tornevo_gzipped_docs)
    foreach(document IN ITEMS changelog tornevo.1)
        add_custom_command(OUTPUT ${tornevo_debian_dir}/${document}.gz
            COMMAND ${GZIP_COMMAND} -9 -n -k -f ${document}
            DEPENDS ${tornevo_debian_dir}/${document}
            WORKING_DIRECTORY ${tornevo_debian_dir}
            COMMENT "Compressing ${document}"
            VERBATIM)
        list(APPEND tornevo_gzipped_docs ${tornevo_debian_dir}/${document}.gz)
    endforeach()
    add_custom_target(tornevo_debian_docs ALL DEPENDS ${tornevo_gzipped_docs})

    # Debian names the documentation folder after the package, in lower case.
    set(tornevo_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/tornevo)
    install(FILES ${tornevo_debian_dir}/copyright ${tornevo_debian_dir}/changelog.gz
        DESTINATION ${tornevo_doc_dir})
    install(FILES ${tornevo_debian_dir}/tornevo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The Debian package: cpack -G DEB in the build folder writes tornevo_1.0.0_amd64.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tornevo)
set(CPACK_PACKAGE_VERSION ${TORNEVO_RELEASE_VERSION})
set(CPACK_PACKAGE_VENDOR ${TORNEVO_COMPANY})
set(CPACK_PACKAGE_CONTACT "${TORNEVO_COMPANY} <${TORNEVO_EMAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "centrifuge calculator: RCF (g-force) to RPM and back")
# The long description, wrapped as Debian's control files want it.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Tornevo converts between the relative centrifugal force (RCF, in multiples"
    "of g) and the rotor speed (RPM) of a laboratory centrifuge. Type the rotor"
    "radius in centimetres or inches and the value to convert, choose which of"
    "the two it is, and read the answer as a whole number with its unit.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${PROJECT_HOMEPAGE_URL})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries come from dpkg-shlibdeps; the X11 platform plugin and the font that
# stands in for Arial are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, fonts-liberation2")
# The package is reproducible: CPack takes its times from SOURCE_DATE_EPOCH, and the
# folders it makes get these modes whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
