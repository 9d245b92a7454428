# Installing and packaging. The program folder (the executable beside its asset tree) goes to
# PREFIX/lib/reaktikum, PREFIX/bin/reaktikum starts it, and the desktop entry, the icons, the
# AppStream metainfo, the manual page and Debian's documentation files go where a desktop and
# the package tools look for them. CPack turns that tree into a .deb and an .rpm.

set(LAB_APP_ID ru.reaktikum.Reaktikum)
set(LAB_MAINTAINER "Reaktikum developers <maintainers@reaktikum.ru>")
# The date of the release named by the project's VERSION; set both together.
set(LAB_RELEASE_DATE 2026-12-07)
set(LAB_PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${LAB_PACKAGING_DIR})

# Where things go below the prefix, as the GNU standard names them.
include(GNUInstallDirs)
# The program folder is "lib" itself, not CMAKE_INSTALL_LIBDIR: that may name a multiarch
# folder (lib/x86_64-linux-gnu under /usr on Debian), and the program recognises an installed
# copy of itself as PREFIX/lib/reaktikum beside PREFIX/bin (src/lab/ProgramDir.cpp).
set(LAB_INSTALL_PROGRAMDIR lib/reaktikum)
# Debian and Fedora name the documentation folder after the package, in lower case
# (CMAKE_INSTALL_DOCDIR would take the project's name, Reaktikum).
set(LAB_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/reaktikum)

# Debian wants directories 0755 whatever the builder's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The program folder. Files the program writes (results, journal, settings) are left out: an
# installed program keeps them in the user's data folder.
install(TARGETS reaktikum RUNTIME DESTINATION ${LAB_INSTALL_PROGRAMDIR})
# The executable is installed above (stripped); the pattern names it by its whole path, since
# the folder itself is called reaktikum too.
install(DIRECTORY ${LAB_PROGRAM_DIR}/ DESTINATION ${LAB_INSTALL_PROGRAMDIR}
  REGEX "^${LAB_PROGRAM_DIR}/reaktikum$" EXCLUDE
  PATTERN BDStudent.rez EXCLUDE
  PATTERN "*.sqlite*" EXCLUDE
  PATTERN "*.lock" EXCLUDE
  PATTERN reaktikum.ini EXCLUDE)

# bin/reaktikum is a relative link, so the tree works wherever it is unpacked; the program
# finds its folder through the link's target (and takes it for an installed copy only with bin
# beside lib, as the standard folders have it).
file(RELATIVE_PATH LAB_STARTER_TARGET /prefix/${CMAKE_INSTALL_BINDIR}
  /prefix/${LAB_INSTALL_PROGRAMDIR}/reaktikum)
file(CREATE_LINK ${LAB_STARTER_TARGET} ${LAB_PACKAGING_DIR}/reaktikum SYMBOLIC)
install(FILES ${LAB_PACKAGING_DIR}/reaktikum DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${CMAKE_CURRENT_LIST_DIR}/${LAB_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${CMAKE_CURRENT_LIST_DIR}/${LAB_APP_ID}.metainfo.xml.in
  ${LAB_PACKAGING_DIR}/${LAB_APP_ID}.metainfo.xml @ONLY)
install(FILES ${LAB_PACKAGING_DIR}/${LAB_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon in every size the hicolor theme asks for, drawn by the asset generator.
set(LAB_ICON_STAMP ${LAB_PACKAGING_DIR}/icons.stamp)
add_custom_command(
  OUTPUT ${LAB_ICON_STAMP}
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:assetgen> --icons ${LAB_PACKAGING_DIR}/icons ${LAB_APP_ID}
  COMMAND ${CMAKE_COMMAND} -E touch ${LAB_ICON_STAMP}
  DEPENDS assetgen
  COMMENT "Drawing the program's icon"
  VERBATIM)
add_custom_target(lab_icons ALL DEPENDS ${LAB_ICON_STAMP})
install(DIRECTORY ${LAB_PACKAGING_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# Manual page and changelog, compressed without a time stamp so the package is reproducible.
set(LAB_CHANGELOG_DATE "Mon, 07 Dec 2026 12:00:00 +0000")
configure_file(${CMAKE_CURRENT_LIST_DIR}/reaktikum.1 ${LAB_PACKAGING_DIR}/reaktikum.1 @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${LAB_PACKAGING_DIR}/changelog @ONLY)
find_program(LAB_GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT ${LAB_PACKAGING_DIR}/reaktikum.1.gz ${LAB_PACKAGING_DIR}/changelog.gz
  COMMAND ${LAB_GZIP} -9nkf reaktikum.1 changelog
  DEPENDS ${LAB_PACKAGING_DIR}/reaktikum.1 ${LAB_PACKAGING_DIR}/changelog
  WORKING_DIRECTORY ${LAB_PACKAGING_DIR}
  VERBATIM)
add_custom_target(lab_package_docs ALL
  DEPENDS ${LAB_PACKAGING_DIR}/reaktikum.1.gz ${LAB_PACKAGING_DIR}/changelog.gz)
install(FILES ${LAB_PACKAGING_DIR}/reaktikum.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The class server's tables and roles, for the administrator to run with psql.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/server/setup.sql
  DESTINATION ${CMAKE_INSTALL_DATADIR}/reaktikum/server)
install(FILES ${LAB_PACKAGING_DIR}/changelog.gz ${CMAKE_CURRENT_LIST_DIR}/copyright
  DESTINATION ${LAB_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB RPM)
set(CPACK_PACKAGE_NAME reaktikum)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Reaktikum developers")
set(CPACK_PACKAGE_CONTACT ${LAB_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "virtual chemistry laboratory on reaction rates")
# Debian shows the description as it stands: lines stay within 80 characters.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "A student registers, picks one of six task variants and works through four"
  "animated experiments on how concentration, temperature and a catalyst change"
  "the rate of a reaction and how a chemical equilibrium shifts, and gets a grade"
  "for each. The teacher sees the grades in a password-protected results window"
  "and in the class journal.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX packages)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt libraries follow from what the executable links; the window system plugin, the class
# journal's database driver, Qt's Russian translations and the fonts are loaded at run time, so
# they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-qpa-plugins, libqt6sql6-sqlite, qt6-translations-l10n, fonts-liberation2 | fonts-dejavu-core")

set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
set(CPACK_RPM_PACKAGE_LICENSE GPL-3.0-or-later)
set(CPACK_RPM_PACKAGE_GROUP Applications/Education)
set(CPACK_RPM_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
# Folders that belong to the system's own packages must not be claimed by this one.
set(LAB_PKG_SHARE ${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR})
set(LAB_PKG_MAN ${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_MANDIR})
set(CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION
  ${LAB_PKG_SHARE}/applications ${LAB_PKG_SHARE}/metainfo ${LAB_PKG_MAN} ${LAB_PKG_MAN}/man1
  ${LAB_PKG_SHARE}/icons ${LAB_PKG_SHARE}/icons/hicolor
  ${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_DATAROOTDIR}/doc)
foreach(size 16 22 24 32 48 64 128 256 scalable)
  if(size STREQUAL scalable)
    set(dir ${LAB_PKG_SHARE}/icons/hicolor/scalable)
  else()
    set(dir ${LAB_PKG_SHARE}/icons/hicolor/${size}x${size})
  endif()
  list(APPEND CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION ${dir} ${dir}/apps)
endforeach()

include(CPack)

if(BUILD_TESTING)
  add_subdirectory(tests/packaging)
endif()
