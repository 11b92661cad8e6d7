# Installs the program as a desktop application and packs it as a .deb with
# "cpack -G DEB" in the build directory.
include(GNUInstallDirs)

install(TARGETS versomat RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/versomat.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/versomat.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME versomat)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Writes short random German poems from your own word lists")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Versomat developers")
set(CPACK_DEBIAN_PACKAGE_SECTION games)

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
