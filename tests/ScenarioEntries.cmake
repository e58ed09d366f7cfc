# The end-to-end scenarios run as one CTest entry per concern, each well within
# CTest's limit on a 2-core machine: EXECUTABLE_watch (what counts as someone at
# the desk), _commit (the record's commit), _lock (the lock and its password),
# _host_windows (the host's windows around the guard).
#   scenario_entries(EXECUTABLE [CONCERN FILTER]...)
# With no pairs, each concern takes every case of its suite; a pair names the
# cases of a concern where a build runs only some of them.
# The scenarios' sources, one per theme, compiled into each build's executable.
set(HOST_SCENARIO_SOURCES HostScenarioTest.cpp BusyHostScenarioTest.cpp HostLifeScenarioTest.cpp
    OtherProgramsScenarioTest.cpp LockNowScenarioTest.cpp SeveralWindowsScenarioTest.cpp)
list(TRANSFORM HOST_SCENARIO_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/tests/wine/)
set(SCENARIO_CONCERNS
    watch "WatchScenario.*"
    commit "CommitScenario.*"
    lock "LockScenario.*:*/LockWithRecordTimerRunning.*"
    host_windows "HostWindowsScenario.*")

function(scenario_entries executable)
  set(pairs ${ARGN})
  if(NOT pairs)
    set(pairs ${SCENARIO_CONCERNS})
  endif()
  set(entries "")
  while(pairs)
    list(POP_FRONT pairs concern filter)
    add_test(NAME ${executable}_${concern} COMMAND ${executable} --gtest_filter=${filter})
    list(APPEND entries ${executable}_${concern})
  endwhile()
  # A filter that a renamed case no longer matches would pass on nothing.
  set_tests_properties(${entries} PROPERTIES FAIL_REGULAR_EXPRESSION "Running 0 tests")
  set(SCENARIO_ENTRIES ${entries} PARENT_SCOPE)
endfunction()
