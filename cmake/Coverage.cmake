# Line and branch coverage of the plug-in's sources (FMPlugin/ only), for the
# coverage build (LOOMVANE_COVERAGE, gcc's --coverage):
#
#   coverage         deletes the counts of earlier runs, runs every native
#                    test, and prints the report: cmake --workflow --preset
#                    coverage, or cmake --build --preset coverage --target
#                    coverage after a build
#   coverage-report  only the report, from the counts the tests left behind
#   conformance-coverage
#                    deletes the counts, runs the conformance tests alone and
#                    prints how much of the stand-in they reach
#
# The report fails below LOOMVANE_COVERAGE_MIN_LINES or _BRANCHES percent,
# conformance-coverage below LOOMVANE_CONFORMANCE_MIN_LINES.
find_program(GCOVR gcovr REQUIRED)
set(LOOMVANE_COVERAGE_MIN_LINES 95 CACHE STRING "Least line coverage of FMPlugin/, in percent")
set(LOOMVANE_COVERAGE_MIN_BRANCHES 90 CACHE STRING
    "Least branch coverage of FMPlugin/, in percent")

set(data ${PROJECT_BINARY_DIR}/coverage.json)
set(report
  # One pass of gcov over the counts, kept as JSON; the tables come from it.
  # The counts are sought in this build only: from the source root, gcovr
  # would follow a Wine prefix's drive link (build/*/wineprefix) into the
  # whole file system.
  COMMAND ${GCOVR} -j 2 --root ${PROJECT_SOURCE_DIR} --filter ${PROJECT_SOURCE_DIR}/FMPlugin/
          --object-directory ${PROJECT_BINARY_DIR} --exclude-unreachable-branches
          --json ${data} ${PROJECT_BINARY_DIR}
  COMMAND ${GCOVR} --root ${PROJECT_SOURCE_DIR} --add-tracefile ${data}
          --txt ${PROJECT_BINARY_DIR}/coverage.txt
  COMMAND ${GCOVR} --root ${PROJECT_SOURCE_DIR} --add-tracefile ${data} --branches
          --txt ${PROJECT_BINARY_DIR}/coverage-branches.txt
  COMMAND ${CMAKE_COMMAND} -E cat ${PROJECT_BINARY_DIR}/coverage.txt
          ${PROJECT_BINARY_DIR}/coverage-branches.txt
  COMMAND ${GCOVR} --root ${PROJECT_SOURCE_DIR} --add-tracefile ${data} --print-summary
          --fail-under-line ${LOOMVANE_COVERAGE_MIN_LINES}
          --fail-under-branch ${LOOMVANE_COVERAGE_MIN_BRANCHES} --txt ${PROJECT_BINARY_DIR}/coverage-summary.txt)

add_custom_target(coverage-report ${report}
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
  COMMENT "Coverage of FMPlugin/")

add_custom_target(coverage
  COMMAND ${CMAKE_COMMAND} -DDIR=${PROJECT_BINARY_DIR} -P ${PROJECT_SOURCE_DIR}/cmake/coverage-reset.cmake
  COMMAND ${CMAKE_CTEST_COMMAND} --test-dir ${PROJECT_BINARY_DIR} --output-on-failure
          --no-tests=error
  ${report}
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
  USES_TERMINAL
  COMMENT "Every native test on fresh counts, then the coverage of FMPlugin/")

# What of the stand-in the conformance tests hold to Wine: the lines of
# winsim/src/ that they reach natively, which pass under Wine too. The
# control side is left out: CallLog.cpp and Desktop.cpp, and what the other
# files mark for gcovr (winsim/src/Internal.h). Only the stand-in's own
# counts are read, which takes about a second.
set(LOOMVANE_CONFORMANCE_MIN_LINES 99.6 CACHE STRING
    "Least line coverage of winsim/src/ by the conformance tests alone, in percent")
set(conformance_data ${PROJECT_BINARY_DIR}/conformance-coverage.json)
add_custom_target(conformance-coverage
  COMMAND ${CMAKE_COMMAND} -DDIR=${PROJECT_BINARY_DIR} -P ${PROJECT_SOURCE_DIR}/cmake/coverage-reset.cmake
  COMMAND ${CMAKE_CTEST_COMMAND} --test-dir ${PROJECT_BINARY_DIR} --output-on-failure -j 2
          --no-tests=error -R "^conformance\\."
  COMMAND ${GCOVR} -j 2 --root ${PROJECT_SOURCE_DIR} --filter ${PROJECT_SOURCE_DIR}/winsim/src/
          --exclude ${PROJECT_SOURCE_DIR}/winsim/src/CallLog.cpp
          --exclude ${PROJECT_SOURCE_DIR}/winsim/src/Desktop.cpp
          --object-directory ${PROJECT_BINARY_DIR} --json ${conformance_data}
          ${PROJECT_BINARY_DIR}/winsim
  COMMAND ${GCOVR} --root ${PROJECT_SOURCE_DIR} --add-tracefile ${conformance_data}
          --txt ${PROJECT_BINARY_DIR}/conformance-coverage.txt
  COMMAND ${CMAKE_COMMAND} -E cat ${PROJECT_BINARY_DIR}/conformance-coverage.txt
  COMMAND ${GCOVR} --root ${PROJECT_SOURCE_DIR} --add-tracefile ${conformance_data}
          --print-summary --fail-under-line ${LOOMVANE_CONFORMANCE_MIN_LINES}
          --txt ${PROJECT_BINARY_DIR}/conformance-coverage-summary.txt
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
  USES_TERMINAL
  COMMENT "The conformance tests on fresh counts, then the coverage of winsim/src/ they reach")
add_dependencies(conformance-coverage conformance_tests)

# The tests run what the build makes: every program of the project first.
function(loomvane_programs directory out)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  set(programs)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      list(APPEND programs ${target})
    endif()
  endforeach()
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory ${subdirectories})
    loomvane_programs(${subdirectory} more)
    list(APPEND programs ${more})
  endforeach()
  set(${out} ${programs} PARENT_SCOPE)
endfunction()
loomvane_programs(${PROJECT_SOURCE_DIR} programs)
add_dependencies(coverage ${programs})
