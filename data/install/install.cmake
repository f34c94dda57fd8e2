# Installing Tolvane as a desktop game, and its Debian package (cpack -G DEB,
# which scripts/package runs). The game reads its files from the folder it
# is started in; the launcher in /usr/games makes the player's own folder
# under XDG_DATA_HOME and starts the game there:
#   /usr/games/tolvane                    the launcher
#   /usr/lib/games/tolvane/tolvane        the program
#   /usr/share/games/tolvane/             gfx/, sound/, levels/, the fresh profile.txt
#   /usr/share/applications, metainfo, icons/hicolor, man/man6, doc/tolvane
set(TOLVANE_INSTALL_SOURCE ${CMAKE_SOURCE_DIR}/data/install)
set(TOLVANE_INSTALL_MADE ${CMAKE_BINARY_DIR}/install-files)
set(TOLVANE_APP_ID org.halvoren.tolvane)

# The files that carry the version, and the compressed manual page and
# changelog (gzip -n, so the same sources give the same bytes).
set(TOLVANE_VERSION ${PROJECT_VERSION})
configure_file(${TOLVANE_INSTALL_SOURCE}/${TOLVANE_APP_ID}.metainfo.xml
               ${TOLVANE_INSTALL_MADE}/${TOLVANE_APP_ID}.metainfo.xml @ONLY)
configure_file(${TOLVANE_INSTALL_SOURCE}/tolvane.6 ${TOLVANE_INSTALL_MADE}/tolvane.6 @ONLY)
configure_file(${TOLVANE_INSTALL_SOURCE}/changelog ${TOLVANE_INSTALL_MADE}/changelog @ONLY)
add_custom_command(OUTPUT ${TOLVANE_INSTALL_MADE}/tolvane.6.gz ${TOLVANE_INSTALL_MADE}/changelog.gz
  COMMAND gzip -9 -n -c ${TOLVANE_INSTALL_MADE}/tolvane.6 > ${TOLVANE_INSTALL_MADE}/tolvane.6.gz
  COMMAND gzip -9 -n -c ${TOLVANE_INSTALL_MADE}/changelog > ${TOLVANE_INSTALL_MADE}/changelog.gz
  DEPENDS ${TOLVANE_INSTALL_MADE}/tolvane.6 ${TOLVANE_INSTALL_MADE}/changelog
  COMMENT "Compressing the manual page and the changelog")
add_custom_target(install_files ALL
  DEPENDS ${TOLVANE_INSTALL_MADE}/tolvane.6.gz ${TOLVANE_INSTALL_MADE}/changelog.gz)

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(TARGETS tolvane RUNTIME DESTINATION lib/games/tolvane)
install(PROGRAMS ${TOLVANE_INSTALL_SOURCE}/tolvane DESTINATION games)
install(DIRECTORY ${TOLVANE_DATA_DIR}/gfx ${TOLVANE_DATA_DIR}/sound ${TOLVANE_DATA_DIR}/levels
        DESTINATION share/games/tolvane)
install(FILES ${CMAKE_SOURCE_DIR}/data/profile.txt DESTINATION share/games/tolvane)
install(FILES ${TOLVANE_INSTALL_SOURCE}/${TOLVANE_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${TOLVANE_INSTALL_MADE}/${TOLVANE_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor DESTINATION share/icons)
install(FILES ${TOLVANE_INSTALL_MADE}/tolvane.6.gz DESTINATION share/man/man6)
install(FILES ${TOLVANE_INSTALL_SOURCE}/copyright ${TOLVANE_INSTALL_MADE}/changelog.gz
        DESTINATION share/doc/tolvane)

# [SECTION] The Debian package: build/tolvane_<version>_<arch>.deb
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Halvoren Games <games@halvoren.org>")
set(CPACK_PACKAGE_VENDOR "Halvoren Games")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://halvoren.org/tolvane/")
# The libraries it links, found by dpkg-shlibdeps, and the face every text
# is set in, which the game finds through fontconfig at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The first line is the summary; CPack indents the lines after it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "push blocks into pairs of a kind before the clock runs out
Tolvane is a tile-sliding puzzle game. A left click pushes a block one
cell to the left, a right click one cell to the right; blocks fall, and two
or more touching blocks of the same kind vanish and score, with bonuses for
more than two at once and for chains. Rock-Blocks never break, tar-covered
Icky-Blocks never move and hold what stands on them, and red lifts travel
up and down. A tutorial world and ten worlds of nine levels; each player's
progress is kept in their own folder.")
include(CPack)
