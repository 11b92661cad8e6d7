# Installs the program as a desktop application and packs it as a .deb with
# "cpack -G DEB" in the build directory.
include(GNUInstallDirs)

# Placeholders until the project has a public address: the AppStream id (and
# with it the desktop entry's name and the window's app id on Wayland), the
# address software centres link to and the package's contact.
set(VERSOMAT_APP_ID org.example.versomat CACHE INTERNAL "AppStream id, desktop entry and Wayland app id")
set(VERSOMAT_HOMEPAGE https://versomat.example.org/)
set(VERSOMAT_MAINTAINER "Versomat developers <versomat@example.org>")
target_compile_definitions(versomat PRIVATE VERSOMAT_APP_ID="${VERSOMAT_APP_ID}")

install(TARGETS versomat RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/versomat.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        RENAME ${VERSOMAT_APP_ID}.desktop)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/versomat.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The changelog, copyright, manual page and AppStream files are written when installing,
# not when building, so that they take the SOURCE_DATE_EPOCH of this install
# and never a tree's earlier one.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(versomat_package_files ${CMAKE_CURRENT_BINARY_DIR}/package_files)
install(CODE "execute_process(COMMAND \"${Python3_EXECUTABLE}\" \"${PROJECT_SOURCE_DIR}/packaging/package_files.py\"
  \"${PROJECT_SOURCE_DIR}\" \"${versomat_package_files}\" \"${VERSOMAT_APP_ID}\" \"${VERSOMAT_MAINTAINER}\"
  \"${VERSOMAT_HOMEPAGE}\" COMMAND_ERROR_IS_FATAL ANY)")
install(FILES ${versomat_package_files}/changelog.gz ${versomat_package_files}/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${versomat_package_files}/versomat.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${versomat_package_files}/${VERSOMAT_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME versomat)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The menu entry's comment is the package's summary.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/versomat.desktop versomat_comment REGEX "^Comment=" LIMIT_COUNT 1)
string(REGEX REPLACE "^Comment=" "" CPACK_PACKAGE_DESCRIPTION_SUMMARY "${versomat_comment}")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${PROJECT_SOURCE_DIR}/packaging/description.en.txt)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VERSOMAT_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VERSOMAT_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SECTION text)

# None of these shows in the binary's linked libraries: Qt loads its
# platform plugins and its German texts at run time, and the window asks for
# the Liberation faces. On a Wayland desktop the window runs natively with
# qt6-wayland, and through XWayland without it.
set(versomat_runtime_depends "fonts-liberation2, qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
if(DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${versomat_runtime_depends}")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libqt6widgets6 (>= 6.2), libqt6gui6 (>= 6.2), libqt6core6 (>= 6.2), libxcb1, libstdc++6, libc6, ${versomat_runtime_depends}")
endif()

include(CPack)
