include(GoogleTest)

# A GoogleTest program's cases as tests labelled LABEL. In the regular build each case is
# a test of its own (ctest -R picks one, and a failure names it). Under the sanitizers,
# where starting a process costs a good part of a second, the program runs once with all
# its cases; COST starts the longer programs first so that both cores stay busy.
function(tervalen_gtest target label)
  if(TERVALEN_SANITIZE)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES LABELS "${label}" ${ARGN})
  else()
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES NO_PRETTY_TYPES
                         PROPERTIES LABELS ${label})
  endif()
endfunction()
