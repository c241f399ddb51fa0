# The Debian package: `cpack -G DEB` in the build folder makes velorand_<version>_<arch>.deb from the
# install rules, with the library dependencies worked out by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velorand)
set(CPACK_PACKAGE_VENDOR "Velorand developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "serial console for microcontroller boards")
set(CPACK_PACKAGE_DESCRIPTION "Velorand talks to microcontroller boards over RS-232 and USB serial adapters:
text lines with time stamps or hex, value columns, a log file, macros with
byte escapes, file sending and manual DTR and RTS.

velorand-devsim, a simulated board on a pseudo-terminal, lets you try it
without hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velorand developers")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
