# Third-party libraries, all from Debian's packages (scripts/deps installs them).

find_package(PkgConfig REQUIRED)
pkg_check_modules(FFMPEG REQUIRED IMPORTED_TARGET
  libavcodec libavformat libavutil libswscale libswresample libavfilter)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(PUGIXML REQUIRED IMPORTED_TARGET pugixml)
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)
