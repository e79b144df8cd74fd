# Installs BUILD_DIR into a temporary prefix, makes the tree read-only and checks its layout, that
# every library resolves through the RPATH and that the programs start from another folder.
set(prefix ${BUILD_DIR}/install_check/prefix)
set(elsewhere ${BUILD_DIR}/install_check/elsewhere)
if(EXISTS ${prefix})
  execute_process(COMMAND chmod -R u+w ${prefix})
  file(REMOVE_RECURSE ${prefix})
endif()
file(MAKE_DIRECTORY ${elsewhere})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
  OUTPUT_QUIET RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "install failed: ${result}")
endif()
execute_process(COMMAND chmod -R a-w ${prefix})

set(data share/corvane-clipwright)
foreach(path bin/CorvaneClipwright bin/clipwright lib/libvkoConverterDll.so lib/libvkoPlayerDll.so
        ${data}/lang ${data}/Images ${data}/profile ${data}/profile/user ${data}/Default.bmp ${data}/bj.bmp
        share/man/man1/clipwright.1 share/applications/corvane-clipwright.desktop
        share/icons/hicolor/48x48/apps/corvane-clipwright.png share/icons/hicolor/256x256/apps/corvane-clipwright.png)
  if(NOT EXISTS ${prefix}/${path})
    message(FATAL_ERROR "missing from the installed tree: ${path}")
  endif()
endforeach()
file(GLOB languages ${prefix}/${data}/lang/*.xml)
file(GLOB profiles ${prefix}/${data}/profile/*.xml)
file(GLOB skins ${prefix}/${data}/Images/*)
foreach(list languages profiles skins)
  if(NOT ${list})
    message(FATAL_ERROR "no ${list} installed")
  endif()
endforeach()

find_program(desktop_file_validate desktop-file-validate)
if(desktop_file_validate)
  execute_process(COMMAND ${desktop_file_validate} ${prefix}/share/applications/corvane-clipwright.desktop
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0 OR output MATCHES "error")
    message(FATAL_ERROR "the desktop entry does not validate:\n${output}")
  endif()
endif()

foreach(program CorvaneClipwright clipwright)
  execute_process(COMMAND ldd ${prefix}/bin/${program} OUTPUT_VARIABLE libraries)
  if(libraries MATCHES "not found" OR NOT libraries MATCHES "${prefix}/bin/../lib/libvkoConverterDll")
    message(FATAL_ERROR "${program} does not find its libraries in lib/:\n${libraries}")
  endif()
endforeach()

execute_process(COMMAND ${prefix}/bin/clipwright --help WORKING_DIRECTORY ${elsewhere}
  RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "clipwright --help failed: ${result}")
endif()
execute_process(COMMAND ${prefix}/bin/clipwright profiles WORKING_DIRECTORY ${elsewhere}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR output STREQUAL "")
  message(FATAL_ERROR "clipwright does not find the installed profiles: ${result}\n${output}")
endif()
# The desktop program keeps running until closed: alive after a few seconds means it started.
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
                        HOME=${BUILD_DIR}/install_check/home timeout 4 ${prefix}/bin/CorvaneClipwright
  WORKING_DIRECTORY ${elsewhere} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 124)
  message(FATAL_ERROR "CorvaneClipwright did not start from the installed tree: ${result}\n${output}")
endif()
execute_process(COMMAND chmod -R u+w ${prefix})
