find_package(GTest REQUIRED)

# One test program per area; each is a ctest entry of its own, headless, with
# SDL's dummy audio driver so the mixer opens without a sound card.
function(tolvane_unit_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main)
  tolvane_headless(${name})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS unit ENVIRONMENT "SDL_AUDIODRIVER=dummy")
endfunction()

# A test of the rules alone: it links the rules and what it names, and no
# sound, drawing or toolkit library.
function(tolvane_rules_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main tolvane_rules)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS unit)
endfunction()
