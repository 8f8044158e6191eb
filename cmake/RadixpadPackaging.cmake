# A Debian package from the install rules: cpack -G DEB in the build folder.
set(CPACK_PACKAGE_NAME quillory-radixpad)
set(CPACK_PACKAGE_VENDOR "Quillory")
set(CPACK_PACKAGE_CONTACT "Quillory Radixpad developers <radixpad@quillory.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Shows one integer in binary, octal, decimal and hexadecimal at once")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its image readers and the X11 platform as plugins, which no linked
# library reveals.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, xdg-utils")
include(CPack)
