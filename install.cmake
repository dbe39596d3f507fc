# Installing into the usual places (cmake --install build --prefix P) and the Debian package
# (cpack -G DEB). An installed program keeps the user's settings in ~/.config/Tandemora, filled
# on first start from the default settings file in share/tandemora.
include(GNUInstallDirs)

install(TARGETS tandemora-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TANDEMORA_WINDOWS)
  install(TARGETS Tandemora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES resources/Tandemora.INI DESTINATION ${CMAKE_INSTALL_DATADIR}/tandemora)
  install(FILES resources/desktop/tandemora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES resources/desktop/tandemora.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  install(FILES ${TANDEMORA_ICON_FOLDER}/tandemora.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(side 48 128 256)
    install(FILES ${TANDEMORA_ICON_FOLDER}/tandemora-${side}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${side}x${side}/apps RENAME tandemora.png)
  endforeach()
endif()

# The package: tandemora_VERSION_ARCH.deb. The MIME, desktop and icon caches are brought up to
# date by the triggers shared-mime-info, desktop-file-utils and the icon theme hold on those
# folders, so the package needs no scripts of its own.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tandemora)
set(CPACK_PACKAGE_VENDOR "Tandemora")
set(CPACK_PACKAGE_CONTACT "Tandemora developers <tandemora@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "study bughouse and crazyhouse chess games")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Tandemora opens BPGN game files, shows bughouse games on two boards with their reserves and clocks, "
       "replays them at the recorded pace, edits variations and comments, and merges folders of games into "
       "a database with position indexes and search. tandemora-cli checks, imports and converts archives.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fairy-stockfish")
# The Qt libraries the programs link: found by dpkg-shlibdeps where it is installed.
find_program(TANDEMORA_SHLIBDEPS dpkg-shlibdeps)
if(TANDEMORA_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
elseif(TANDEMORA_WINDOWS)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS
         ", libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6multimedia6 (>= 6.4), libqt6svg6 (>= 6.4), libbz2-1.0, zlib1g, libc6, libstdc++6")
else()
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libbz2-1.0, zlib1g, libc6, libstdc++6")
endif()
include(CPack)
