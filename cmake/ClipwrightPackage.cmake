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
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libc6, libstdc++6, libgcc-s1, libavcodec59 | libavcodec-extra59, libavcodec-extra, libavformat59, libavutil57, libswscale6, libswresample4, libqt6core6, libqt6gui6, libqt6widgets6, qt6-qpa-plugins, libsdl2-2.0-0, libpugixml1v5")
include(CPack)
