# cmake --install: the programs, the sample data that seeds the user's folder, the user guide,
# the desktop integration files, man pages and bash completion. cpack -G DEB packs the same.
set(KAV_APP_ID io.github.kavrino.KavrinoTranslationTool)
set(KAV_SHARE ${CMAKE_INSTALL_DATADIR}/KavrinoTranslationTool)

install(TARGETS KavrinoTranslationTool kavtool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/Default ${PROJECT_SOURCE_DIR}/data/Language
        DESTINATION ${KAV_SHARE})
install(FILES ${PROJECT_SOURCE_DIR}/docs/guide.html DESTINATION ${KAV_SHARE})
install(FILES ${PROJECT_SOURCE_DIR}/dist/${KAV_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/dist/${KAV_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/dist/${KAV_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/dist/KavrinoTranslationTool.1 ${PROJECT_SOURCE_DIR}/dist/kavtool.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/dist/kavtool.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME kavtool)

set(CPACK_PACKAGE_NAME kavrino-translation-tool)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Kavrino Translation Tool developers <kavrino@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for a product's language resource files (STR)")
set(CPACK_PACKAGE_DESCRIPTION
    "Edits the translated STR files of a product side by side with the English defaults, checks widths, exchanges RTF with translators and builds the resource DLLs; kavtool does the same from the command line.")
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
# dpkg-shlibdeps reads the Qt and C++ libraries the programs link against.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, wine")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libreoffice-writer")
set(CPACK_STRIP_FILES ON)
include(CPack)
