# The installed tree: programs in bin/, libraries in lib/corvane-clipwright/ (found through the
# RPATH), the program's data in share/corvane-clipwright/, where the program finds it from its own
# folder.
install(TARGETS CorvaneClipwright RUNTIME DESTINATION bin)
install(TARGETS vkoConverterDll vkoPlayerDll vkoMessageDll vkoAnalyzeImg vkoI18nDll vkoRMEncoderDll
  LIBRARY DESTINATION ${CLIPWRIGHT_LIBRARY_DESTINATION})
install(DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/lang ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Images
  DESTINATION ${CLIPWRIGHT_DATA_DESTINATION})
install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Default.png ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/bj.png
  DESTINATION ${CLIPWRIGHT_DATA_DESTINATION})
# The programs find the libraries through $ORIGIN/../lib/corvane-clipwright (CMAKE_INSTALL_RPATH),
# the libraries find each other beside themselves.
set_target_properties(vkoConverterDll vkoPlayerDll vkoMessageDll vkoAnalyzeImg vkoI18nDll vkoRMEncoderDll
  vkoProfileDll PROPERTIES INSTALL_RPATH "$ORIGIN")

# The desktop entry and the program's icon (drawn with the skins) for the application menu.
install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/corvane-clipwright.desktop DESTINATION share/applications)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor DESTINATION share/icons)
# What software centres show of the program (AppStream).
install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/example.corvane.clipwright.metainfo.xml DESTINATION share/metainfo)
# The licence in Debian's machine-readable form, and lintian's findings we keep with their reasons.
install(FILES ${CMAKE_SOURCE_DIR}/data/package/copyright DESTINATION share/doc/corvane-clipwright)
install(FILES ${CMAKE_SOURCE_DIR}/data/package/lintian-overrides DESTINATION share/lintian/overrides
  RENAME corvane-clipwright)

# The package's changelog and the desktop program's manual page, compressed as Debian keeps them.
set(changelog ${CMAKE_BINARY_DIR}/share/doc/changelog.gz)
set(program_man_page ${CMAKE_BINARY_DIR}/share/man/man1/CorvaneClipwright.1.gz)
add_custom_command(OUTPUT ${changelog} ${program_man_page}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/share/doc ${CMAKE_BINARY_DIR}/share/man/man1
  COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/data/package/changelog > ${changelog}
  COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/data/package/CorvaneClipwright.1 > ${program_man_page}
  DEPENDS ${CMAKE_SOURCE_DIR}/data/package/changelog ${CMAKE_SOURCE_DIR}/data/package/CorvaneClipwright.1)
add_custom_target(clipwright_package_texts ALL DEPENDS ${changelog} ${program_man_page})
install(FILES ${changelog} DESTINATION share/doc/corvane-clipwright)
install(FILES ${program_man_page} DESTINATION share/man/man1)
