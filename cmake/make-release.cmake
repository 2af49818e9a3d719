# Packs the release ZIP and writes its SHA-256 checksum beside it.
# cmake -DFMX=... -DSOURCE=... -DOUT=... -P make-release.cmake
set(stage ${OUT}.stage)
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage})
file(COPY ${FMX} ${SOURCE}/README.md ${SOURCE}/LICENSE DESTINATION ${stage})
file(COPY ${SOURCE}/docs/functions.md DESTINATION ${stage})
file(REMOVE ${OUT} ${OUT}.sha256)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${OUT} --format=zip --mtime=2026-01-01
                        Loomvane.fmx README.md LICENSE functions.md
                WORKING_DIRECTORY ${stage} RESULT_VARIABLE packed)
if(NOT packed EQUAL 0)
  message(FATAL_ERROR "could not pack ${OUT}")
endif()
file(SHA256 ${OUT} digest)
get_filename_component(name ${OUT} NAME)
file(WRITE ${OUT}.sha256 "${digest}  ${name}\n")
file(REMOVE_RECURSE ${stage})
