# The Debian package: "cpack -G DEB" in a build tree (scripts/package.sh makes the Release one)
# writes cotalys_VERSION_ARCH.deb with the program, its desktop entry and icon and the demo
# histories. dpkg-shlibdeps (dpkg-dev) finds the packages of the libraries the program links; the
# parts Qt loads at run time (the platform and SVG plugins, the French Qt texts) and the fonts
# the chart is drawn with are named by hand.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "cotalys")
set(CPACK_PACKAGE_VENDOR "Cotalys")
set(CPACK_PACKAGE_CONTACT "Cotalys <maintainers@users.noreply.c-seed-828063d4.example>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "technical analysis of the CAC 40 stocks")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Cotalys loads the daily prices of a CAC 40 stock and draws its chart with\n\
moving averages, MACD, RSI, volumes and support and resistance zones, finds\n\
the entry signals, sizes the position, backtests the signal over the index\n\
and scans the index every evening. A command line does the same without\n\
a window, and can schedule the evening scan with a desktop notification.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "cotalys")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6svg6 (>= 6.4), qt6-qpa-plugins (>= 6.4), qt6-translations-l10n, fonts-noto-core | fonts-dejavu-core"
)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "dbus-user-session")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "systemd")

# What Debian asks of every package: the copyright file (with the notices of the libraries
# compiled into the program), a changelog and a manual page, compressed without a time stamp.
include(GNUInstallDirs)
set(debian_changelog "${CMAKE_BINARY_DIR}/debian/changelog")
string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE "${debian_changelog}"
     "cotalys (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
     "  * Cotalys ${PROJECT_VERSION}.\n\n"
     " -- ${CPACK_PACKAGE_CONTACT}  ${changelog_date}\n")
configure_file("${CMAKE_CURRENT_LIST_DIR}/debian/cotalys.1" "${CMAKE_BINARY_DIR}/debian/cotalys.1"
               COPYONLY)
execute_process(COMMAND gzip -n -9 -f "${debian_changelog}" "${CMAKE_BINARY_DIR}/debian/cotalys.1")
install(FILES "${debian_changelog}.gz" "${CMAKE_CURRENT_LIST_DIR}/debian/copyright"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/cotalys)
install(FILES "${CMAKE_BINARY_DIR}/debian/cotalys.1.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
include(CPack)
