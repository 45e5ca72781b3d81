# The Debian package (scripts/package): cpack -G DEB in a release build.
# The libraries it links against are found by dpkg-shlibdeps; what the window
# needs besides them is named here.
set(CPACK_PACKAGE_NAME tagloom)
set(CPACK_PACKAGE_VENDOR "Vantoro Studio")
set(CPACK_PACKAGE_CONTACT "Vantoro Studio <tagloom@vantoro.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "EXIF editor for photographers, with backup and restore")
# The long description: lines of at most 80 columns (lintian checks them).
set(CPACK_PACKAGE_DESCRIPTION
    "Tagloom shows a photograph with its sixteen best-known EXIF fields,\n\
edits them and writes a new EXIF block into the JPEG, leaving the picture\n\
itself untouched. It backs up and restores each photograph's EXIF block\n\
in a file beside it, one photograph or a whole list at a time. The window\n\
speaks Simplified Chinese.\n\
\n\
tagloom-cli does the same from the command line.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # tagloom_3.0.3002_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's Chinese texts for its own buttons and dialogs, and a font for Chinese.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_STRIP_FILES ON)
include(CPack)
