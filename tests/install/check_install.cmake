# Installs BUILD_DIR into a temporary prefix, makes the tree read-only and checks its layout, the
# package texts (desktop entry, AppStream metainfo, copyright), that share/ holds no folder meant
# for the user's files, the hardening of release builds (HARDENED), that every library resolves
# through the RPATH, that the programs start from another folder, and that saving a user profile
# from there writes into the user's data folder. The tree is made in
# the system's temporary folder, which any user may reach: root may write anywhere, so as root the
# profile check runs as "nobody".
cmake_policy(SET CMP0057 NEW)
execute_process(COMMAND mktemp -d /tmp/clipwright-install.XXXXXX OUTPUT_VARIABLE root OUTPUT_STRIP_TRAILING_WHITESPACE)
set(prefix ${root}/prefix)
set(elsewhere ${root}/elsewhere)
set(home ${root}/home)
# The tree goes when the check ends, failed or not.
function(remove_tree)
  execute_process(COMMAND chmod -R u+w ${root})
  file(REMOVE_RECURSE ${root})
endfunction()
function(fail text)
  remove_tree()
  message(FATAL_ERROR "${text}")
endfunction()
file(MAKE_DIRECTORY ${elsewhere} ${home})
execute_process(COMMAND chmod 755 ${root})
execute_process(COMMAND chmod 777 ${home})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
  OUTPUT_QUIET RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  fail("install failed: ${result}")
endif()
set(data ${DATA_DIR})
# Nothing under share/ is a folder for the user's own files: no empty folder waiting to be
# written, none that others may write, none named "user".
execute_process(COMMAND find ${prefix}/share -type d ( -empty -o -perm /022 -o -name user )
  OUTPUT_VARIABLE user_folders OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT user_folders STREQUAL "")
  fail("folders for the user's files under share/:\n${user_folders}")
endif()
# A profile an administrator put beside the installed program, and the checker beside the programs.
file(GLOB system_profiles ${prefix}/${data}/profile/*.xml)
list(GET system_profiles 0 first_profile)
file(MAKE_DIRECTORY ${prefix}/${data}/profile/user)
file(COPY_FILE ${first_profile} ${prefix}/${data}/profile/user/installed_by_admin.xml)
file(COPY ${BUILD_DIR}/bin/read_only_profiles_check DESTINATION ${prefix}/bin)
execute_process(COMMAND chmod -R a-w ${prefix})

set(libraries ${LIBRARY_DIR})
foreach(path bin/CorvaneClipwright bin/clipwright ${libraries}/libvkoConverterDll.so ${libraries}/libvkoPlayerDll.so
        ${data}/lang ${data}/Images ${data}/profile ${data}/Default.png ${data}/bj.png
        share/man/man1/clipwright.1.gz share/man/man1/CorvaneClipwright.1.gz
        share/doc/corvane-clipwright/changelog.gz share/doc/corvane-clipwright/copyright
        share/metainfo/example.corvane.clipwright.metainfo.xml share/applications/corvane-clipwright.desktop
        share/icons/hicolor/48x48/apps/corvane-clipwright.png share/icons/hicolor/256x256/apps/corvane-clipwright.png)
  if(NOT EXISTS ${prefix}/${path})
    fail("missing from the installed tree: ${path}")
  endif()
endforeach()
file(GLOB languages ${prefix}/${data}/lang/*.xml)
file(GLOB profiles ${prefix}/${data}/profile/*.xml)
file(GLOB skins ${prefix}/${data}/Images/*)
foreach(list languages profiles skins)
  if(NOT ${list})
    fail("no ${list} installed")
  endif()
endforeach()

find_program(desktop_file_validate desktop-file-validate)
if(desktop_file_validate)
  execute_process(COMMAND ${desktop_file_validate} ${prefix}/share/applications/corvane-clipwright.desktop
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0 OR output MATCHES "error")
    fail("the desktop entry does not validate:\n${output}")
  endif()
endif()

find_program(appstreamcli appstreamcli)
if(NOT appstreamcli)
  fail("appstreamcli is missing (scripts/deps installs appstream)")
endif()
execute_process(COMMAND ${appstreamcli} validate --no-net --no-color
                        ${prefix}/share/metainfo/example.corvane.clipwright.metainfo.xml
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR output MATCHES "(^|\n)[EW]: ")
  fail("the AppStream metainfo does not validate:\n${output}")
endif()

# Debian's machine-readable copyright format, with the licence of the whole suite.
file(READ ${prefix}/share/doc/corvane-clipwright/copyright copyright)
if(NOT copyright MATCHES "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
   OR NOT copyright MATCHES "\nFiles: [*]\nCopyright: [^\n]+\nLicense: GPL-3[+]\n"
   OR NOT copyright MATCHES "\nLicense: GPL-3[+]\n [^\n]+")
  fail("the copyright file is not in the machine-readable format with GPL-3+:\n${copyright}")
endif()

# The programs find the libraries in lib/corvane-clipwright/, the libraries each other beside
# themselves; nothing else (no build-tree folders) is on their search path.
file(GLOB installed_libraries ${prefix}/${libraries}/*.so)
set(programs ${prefix}/bin/CorvaneClipwright ${prefix}/bin/clipwright)
foreach(binary ${programs} ${installed_libraries})
  execute_process(COMMAND readelf -d ${binary} OUTPUT_VARIABLE dynamic)
  string(REGEX MATCH "\\(RUNPATH\\)[^[]*\\[([^]]*)\\]" found "${dynamic}")
  set(expected "$ORIGIN")
  if(binary IN_LIST programs)
    set(expected "$ORIGIN/../${libraries}")
  endif()
  if(NOT CMAKE_MATCH_1 STREQUAL expected)
    fail("${binary}: RUNPATH \"${CMAKE_MATCH_1}\" instead of \"${expected}\"")
  endif()
  # Release builds: bound at load time with read-only relocations, and fortified libc calls.
  # Those exist only where the compiler knows an object's size: the programs and the engine have
  # them, libraries whose calls have no known size may have none.
  if(HARDENED)
    execute_process(COMMAND readelf -lW ${binary} OUTPUT_VARIABLE segments)
    if(NOT dynamic MATCHES "BIND_NOW" OR NOT segments MATCHES "GNU_RELRO")
      fail("${binary} is not linked with -z relro -z now:\n${dynamic}")
    endif()
    execute_process(COMMAND readelf --dyn-syms -W ${binary} OUTPUT_VARIABLE symbols)
    if((binary IN_LIST programs OR binary MATCHES "libvkoConverterDll") AND NOT symbols MATCHES "UND __[a-z_]+_chk@")
      fail("${binary} has no fortified calls: built without _FORTIFY_SOURCE")
    endif()
  endif()
endforeach()

# Every program and library finds the libraries it needs in the installed tree.
foreach(binary ${prefix}/bin/CorvaneClipwright ${prefix}/bin/clipwright ${installed_libraries})
  execute_process(COMMAND ldd ${binary} OUTPUT_VARIABLE needed)
  if(needed MATCHES "not found")
    fail("${binary} does not find its libraries:\n${needed}")
  endif()
endforeach()
execute_process(COMMAND ldd ${prefix}/bin/clipwright OUTPUT_VARIABLE needed)
if(NOT needed MATCHES "${prefix}/bin/../${libraries}/libvkoConverterDll")
  fail("clipwright does not take the engine from ${libraries}/:\n${needed}")
endif()

execute_process(COMMAND ${prefix}/bin/clipwright --help WORKING_DIRECTORY ${elsewhere}
  RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
if(NOT result EQUAL 0)
  fail("clipwright --help failed: ${result}")
endif()
execute_process(COMMAND ${prefix}/bin/clipwright profiles WORKING_DIRECTORY ${elsewhere}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR output STREQUAL "")
  fail("clipwright does not find the installed profiles: ${result}\n${output}")
endif()
# The desktop program keeps running until closed: alive after a few seconds means it started.
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
                        HOME=${home} timeout 4 ${prefix}/bin/CorvaneClipwright
  WORKING_DIRECTORY ${elsewhere} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 124)
  fail("CorvaneClipwright did not start from the installed tree: ${result}\n${output}")
endif()
# Without its data it still starts, but the language and skin readers say what they missed.
if(output MATCHES "not found|not usable")
  fail("CorvaneClipwright does not find its languages or skins:\n${output}")
endif()

execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
set(as_user)
if(uid EQUAL 0)
  set(as_user setpriv --reuid=65534 --regid=65534 --clear-groups)
endif()
execute_process(COMMAND ${as_user} env -u XDG_DATA_HOME HOME=${home} QT_QPA_PLATFORM=offscreen
                        ${prefix}/bin/read_only_profiles_check ${prefix}/${data}/profile/ installed_by_admin.xml
  WORKING_DIRECTORY ${elsewhere} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  fail("profiles in a read-only installation: ${result}\n${output}")
endif()
if(NOT EXISTS "${home}/.local/share/CorvaneClipwright/profile/user/Saved while read-only.xml")
  fail("the saved profile is not in the user's data folder")
endif()
remove_tree()
