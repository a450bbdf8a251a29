# What `cmake --install` puts in place, and the Debian package CPack builds from it.
#
#   bin/smsdock                                   the program
#   share/applications/smsdock.desktop            its desktop entry
#   share/icons/hicolor/NxN/apps/smsdock.png      its icon, 16 to 256 pixels
#   share/icons/hicolor/scalable/apps/smsdock.svg
#   share/doc/smsdock/LICENSE, .../copyright      the licence (copyright is where Debian looks)
#
# Only the program is installed: the demo site and the tests stay in the build tree.
# `cpack -G DEB` in the build folder makes smsdock_<version>_<arch>.deb.

include(GNUInstallDirs)
# Debian keeps a package's documents under the package's name, not the project's.
set(SMSDOCK_DOCDIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/smsdock")

set(SMSDOCK_ICON_SIZES 16 22 24 32 48 64 128 256)

install(TARGETS smsdock RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${SMSDOCK_ROOT}/assets/smsdock.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size ${SMSDOCK_ICON_SIZES})
    install(FILES ${SMSDOCK_ROOT}/assets/icons/smsdock-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME smsdock.png)
endforeach()
install(FILES ${SMSDOCK_ROOT}/assets/icons/smsdock.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${SMSDOCK_ROOT}/LICENSE DESTINATION ${SMSDOCK_DOCDIR})
install(FILES ${SMSDOCK_ROOT}/LICENSE DESTINATION ${SMSDOCK_DOCDIR} RENAME copyright)

# ---- The Debian package -------------------------------------------------------------------------

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME smsdock)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The SmsDock developers")
set(CPACK_PACKAGE_CONTACT "The SmsDock developers <developers@smsdock.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://smsdock.example/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "borrow a public phone number to receive a verification text")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "SmsDock (短信码头) reads public number sites that publish shared phone numbers\n"
    "together with the texts each one received, and shows them in one window: the\n"
    "numbers of the domestic or the foreign platform, one listing page at a time, and\n"
    "the recent messages of the number you double-click. A click on a number or a\n"
    "message copies it to the clipboard.\n"
    "\n"
    "Everything anyone sends to these numbers is public. Never use them for anything\n"
    "that matters.")
set(CPACK_RESOURCE_FILE_LICENSE ${SMSDOCK_ROOT}/LICENSE)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links (Qt 6, libcurl, OpenSSL, ICU, PCRE2) come from
# dpkg-shlibdeps. libqt6gui6, which that brings in, also carries the xcb and offscreen platform
# plugins and the JPEG reader. Added by hand: what is loaded at run time rather than linked —
# the CA bundle for the number sites over https and a font with the Chinese characters.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "ca-certificates, fonts-noto-cjk | fonts-wqy-zenhei | fonts-wqy-microhei")
# Opening pages in the browser goes through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")

include(CPack)
