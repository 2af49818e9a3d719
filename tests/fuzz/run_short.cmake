# A short fuzz run that is the same every time: a fixed seed, the committed
# seeds, the dictionary, and an empty directory for what it finds, so that
# no earlier run changes this one. Inputs that break something are kept in
# ARTIFACTS.
# cmake -DFUZZER=... -DSEEDS="DIR DIR" -DDICT=... -DFOUND=... -DARTIFACTS=... -DRUNS=...
#       -P run_short.cmake
file(REMOVE_RECURSE ${FOUND})
file(MAKE_DIRECTORY ${FOUND} ${ARTIFACTS})
separate_arguments(seed_dirs UNIX_COMMAND "${SEEDS}")
execute_process(COMMAND ${FUZZER} -runs=${RUNS} -seed=1 -max_len=512 -print_final_stats=1
                        -dict=${DICT} -artifact_prefix=${ARTIFACTS}/ ${FOUND} ${seed_dirs}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the fuzz run failed (${status}); the input is in ${ARTIFACTS}")
endif()
