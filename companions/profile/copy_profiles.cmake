# Replaces the built-in profiles in OUTPUT_DIR with those of SOURCE_DIR; OUTPUT_DIR/user, the
# user's own profiles, is created when missing and otherwise left alone.
file(GLOB stale ${OUTPUT_DIR}/*.xml)
if(stale)
  file(REMOVE ${stale})
endif()
file(GLOB profiles ${SOURCE_DIR}/*.xml)
if(profiles)
  file(COPY ${profiles} DESTINATION ${OUTPUT_DIR})
endif()
file(MAKE_DIRECTORY ${OUTPUT_DIR}/user)
