# The runtime directory the game runs in: build/data with gfx/, sound/,
# levels/ and a profile. The profile is placed only when none is there, so
# a player's progress survives every rebuild.
set(TOLVANE_DATA_DIR ${CMAKE_BINARY_DIR}/data CACHE INTERNAL "The game's runtime directory")

add_custom_target(runtime_dirs ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory
          ${TOLVANE_DATA_DIR}/gfx/tilesets ${TOLVANE_DATA_DIR}/gfx/frontend ${TOLVANE_DATA_DIR}/gfx/bkgs
          ${TOLVANE_DATA_DIR}/sound ${TOLVANE_DATA_DIR}/levels
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/data/profile.txt
          -DTARGET=${TOLVANE_DATA_DIR}/profile.txt -P ${CMAKE_SOURCE_DIR}/data/place_profile.cmake
  COMMENT "Assembling the runtime directory"
  VERBATIM)
