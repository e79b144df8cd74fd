# A Debian package of the installed tree (scripts/package builds it), for Debian 12's runtime libraries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane-clipwright)
set(CPACK_PACKAGE_VENDOR "Corvane")
set(CPACK_PACKAGE_CONTACT "Corvane Clipwright team <clipwright@corvane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop media converter with a command-line front end")
# Lines of at most 80 characters, as the package description shows them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Corvane Clipwright converts video and audio files in a batch: a job list of"
  "files, an output profile for each (format, device class, encoder parameters),"
  "trimming, cropping, zooming, colour, effects, flips and volume with a live"
  "preview, and one output per file or all merged into one. The clipwright"
  "command converts, inspects and lists profiles without the window.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
# The libraries' packages with their versions come from dpkg-shlibdeps (our own libraries in
# lib/corvane-clipwright/ are private); added are what no binary names: FFmpeg's extra codecs
# (the AMR-NB encoder) and Qt's platform plugins. Chinese texts want a font that has them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Relative to the packed tree, where dpkg-shlibdeps runs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS usr/${CLIPWRIGHT_LIBRARY_DESTINATION})
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libavcodec-extra, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.corvane.example/clipwright/")
include(CPack)
