# What `cmake --install` puts where (GNUInstallDirs), and the .deb made of it. An installed copy
# finds its data folder from its executable's (src/platform/linux/desktop), so the tree can be
# moved or unpacked anywhere.

# udev reads rules from lib/udev/rules.d under /usr, not under other prefixes (README: Install).
set(TARNIX_INSTALL_UDEVRULESDIR lib/udev/rules.d CACHE STRING "udev rules folder, relative to the prefix")
set(TARNIX_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/tarnix-usbphone)
set(resources ${PROJECT_SOURCE_DIR}/resources)
set(generated ${PROJECT_BINARY_DIR}/install)

configure_file(${resources}/desktop/org.tarnix.UsbPhone.metainfo.xml ${generated}/org.tarnix.UsbPhone.metainfo.xml @ONLY)
configure_file(${resources}/man/tarnix-usbphone.1 ${generated}/tarnix-usbphone.1 @ONLY)
configure_file(${resources}/debian/changelog.in ${generated}/changelog @ONLY)

# Man pages and changelogs are shipped compressed; -n keeps the archive free of time stamps.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(compressed)
foreach(file tarnix-usbphone.1 changelog)
  add_custom_command(OUTPUT ${generated}/${file}.gz
    COMMAND ${GZIP_PROGRAM} -9nkf ${generated}/${file}
    DEPENDS ${generated}/${file})
  list(APPEND compressed ${generated}/${file}.gz)
endforeach()
add_custom_target(tarnix_install_files ALL DEPENDS ${compressed})

install(TARGETS tarnix-usbphone RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${resources}/locale.xml DESTINATION ${TARNIX_INSTALL_DATADIR})
install(FILES ${resources}/udev/70-tarnix-usbphone.rules DESTINATION ${TARNIX_INSTALL_UDEVRULESDIR})
install(FILES ${resources}/desktop/org.tarnix.UsbPhone.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${generated}/org.tarnix.UsbPhone.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${resources}/icons/org.tarnix.UsbPhone.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${generated}/tarnix-usbphone.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${resources}/debian/copyright ${generated}/changelog.gz DESTINATION ${TARNIX_INSTALL_DOCDIR})

# A package needs no test or benchmark: installing builds nothing (./run package builds the
# program first).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnix-usbphone)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tarnix")
set(CPACK_PACKAGE_CONTACT "Tarnix USB Phone authors <usbphone@tarnix.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "USB telephone handset driver for Skype")
set(CPACK_PACKAGE_DESCRIPTION "A tray program that makes a USB telephone handset the telephone of\n\
the Skype messenger on the same desktop: the handset's keys dial, answer and\n\
hang up, Skype's calls ring the handset and show on its display, and the\n\
handset's sound device becomes Skype's microphone and speaker.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION comm)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# ALSA's pulse plugin: a sound server's devices are opened through it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libasound2-plugins)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${resources}/debian/postinst ${resources}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
