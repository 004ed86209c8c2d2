# The Debian package, built from the install rules by `cpack -G DEB` in the build folder.
include(ProductInfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvo-video-converter)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${ORVO_DISPLAY_PRODUCT_NAME}")
string(REPLACE "mailto:" "" orvo_support_address "${ORVO_SUPPORT_EMAIL}")
set(CPACK_PACKAGE_CONTACT "${ORVO_DISPLAY_PRODUCT_NAME} <${orvo_support_address}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "video converter for iPod, iPhone and Apple TV")
set(CPACK_PACKAGE_DESCRIPTION
    "Turns video files into files Apple devices play: iPod video, iPod music (MP3),\n\
iPhone and Apple TV. Build a list of clips, trim each one with a range bar and its\n\
live preview frame, pick a device and a profile, and get numbered files in a\n\
folder per device.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # orvo-video-converter_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ORVO_HOME_PAGE}")
# Libraries the executables and the engine link come from dpkg-shlibdeps; the MediaInfo
# library is loaded by name at run time, so no link names it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libmediainfo0v5")
# The Tahoma-like font of the skin, the desktop's opener of folders and addresses, and the
# font the pictures are drawn with; the program works without them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wine, xdg-utils, fonts-dejavu-core")
# The program folder is root's to write: settings written there by root go at purge.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/data/desktop/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
