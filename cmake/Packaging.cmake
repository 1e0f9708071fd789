# The Debian package, made from the install by `cpack -G DEB` in the build
# folder: korval_<version>_<architecture>.deb, its library dependencies
# computed from the binary by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME korval)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "screen saver with columns of green glyph rain")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "KORVAL covers the screen with a grid of glyph cells in which columns of\n"
       "green glyphs run down. It runs on its own (korval /s) or as a display\n"
       "program of XScreenSaver, xsecurelock and MATE's screen saver, and has a\n"
       "small options dialog (korval /c).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The glyphs need a font; any sans-serif face will do. In a Wayland session
# without XWayland the saver starts only with Qt's wayland platform.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver | xsecurelock | mate-screensaver")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "KORVAL maintainers <maintainers@users.noreply.c-seed-a624f369.example>"
    CACHE STRING "The Maintainer field of the Debian package")
include(CPack)
