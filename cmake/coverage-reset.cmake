# Deletes the gcov counts of earlier runs, so that a report counts one run
# of the tests only.   cmake -DDIR=<binary dir> -P coverage-reset.cmake
file(GLOB_RECURSE counts ${DIR}/*.gcda)
if(counts)
  file(REMOVE ${counts})
endif()
