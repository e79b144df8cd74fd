# The installed tree: programs in bin/, libraries in lib/ (RPATH $ORIGIN/../lib), the program's
# data in share/corvane-clipwright/, where the program finds it from its own folder.
set(CLIPWRIGHT_DATA_DESTINATION share/corvane-clipwright)
install(TARGETS CorvaneClipwright RUNTIME DESTINATION bin)
install(TARGETS vkoConverterDll vkoPlayerDll vkoMessageDll vkoAnalyzeImg vkoI18nDll vkoRMEncoderDll
  LIBRARY DESTINATION lib)
install(DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/lang ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Images
  DESTINATION ${CLIPWRIGHT_DATA_DESTINATION})
install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Default.bmp ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/bj.bmp
  DESTINATION ${CLIPWRIGHT_DATA_DESTINATION})

# The desktop entry and the program's icon (drawn with the skins) for the application menu.
install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/corvane-clipwright.desktop DESTINATION share/applications)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor DESTINATION share/icons)
