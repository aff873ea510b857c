# Where an installed program's files go, and the Debian package made of them
# (scripts/package.sh). The program finds its web engine module and help document relative to
# its own executable, so an installed tree still works when it is moved.
set(MOVAREK_APP_ID cz.vertanix.SmsMovarek)

install(TARGETS sms-movarek RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS movarek_webengine movarek_phonenumbers movarek_network LIBRARY DESTINATION ${MOVAREK_MODULE_INSTALL_DIR})
install(FILES resources/napoveda.rtf DESTINATION ${CMAKE_INSTALL_DATADIR}/sms-movarek)
install(FILES resources/${MOVAREK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/${MOVAREK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES resources/icons/${MOVAREK_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size IN LISTS MOVAREK_ICON_SIZES)
  install(FILES ${MOVAREK_ICON_DIR}/${size}/${MOVAREK_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${MOVAREK_MANUAL_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES resources/debian/copyright ${MOVAREK_DEBIAN_CHANGELOG}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/sms-movarek)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sms-movarek)
set(CPACK_PACKAGE_VENDOR Vertanix)
set(CPACK_PACKAGE_CONTACT "Vertanix <info@vertanix.cz>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "send text messages to mobile phones through a web gateway")
# Follows the summary, which is the description's first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "SMS Movarek is a small desktop program with a Czech interface. It sends text
messages through the Vertanix SMS gateway to the e-mail addresses of mobile
phones or to numbers of the Oskar network, shows the gateway's Eurotel page,
and keeps an address book of up to 1000 contacts and speed dials.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION comm)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://www.vertanix.cz/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Found at run time, not linked: the platform plugins, Qt's Czech texts for Yes and No, and
# xdg-open, which opens the maker's web address and links of the Eurotel page.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, xdg-utils")
# Qt's Wayland plugin lets the program run natively on a Wayland desktop, not through X emulation.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, qt6-wayland")
# The "Modem" page sends through the user's own modem, which ModemManager drives.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "modemmanager")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
include(CPack)
