# Installed layout: the program and the install finisher in lib/vexlo, its data files in
# share/vexlo/data, the package version in share/vexlo/version, and a launcher on the command
# search path that runs the finisher once per version, then the program, in the user's data
# folder. The launcher finds everything relative to itself, so any prefix works.
install(TARGETS vexlo_main RUNTIME DESTINATION lib/vexlo)
if(TARGET Vexlo)
    install(TARGETS Vexlo RUNTIME DESTINATION lib/vexlo)
endif()
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/packaging/version CONTENT "${PROJECT_VERSION}\n")
install(FILES ${PROJECT_BINARY_DIR}/packaging/version DESTINATION share/vexlo)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/data/ DESTINATION share/vexlo/data)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/src/help/ DESTINATION share/vexlo/help
        FILES_MATCHING PATTERN "*.html" PATTERN "*.css")
install(PROGRAMS ${PROJECT_SOURCE_DIR}/packaging/vexlo.sh DESTINATION bin RENAME vexlo)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/vexlo.desktop DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/assets/forms/home.svg DESTINATION share/icons/hicolor/scalable/apps
        RENAME vexlo.svg)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vexlo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Vexlo developers <vexlo@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Classroom countdown timer and random draws")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6widgets6, libqt6multimedia6, qt6-qpa-plugins, libqt6svg6, libx11-6, libuno-cppu3, libuno-sal3, libuno-cppuhelpergcc3-3, libuno-salhelpergcc3-3, libreoffice-calc, libreoffice-impress, fonts-noto-cjk, qt6-translations-l10n, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xchm")
include(CPack)
