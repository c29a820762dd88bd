# Makes the user guide: pictures of the windows first, then the PDF. The
# pictures are a bonus: when they cannot be taken the guide is made without
# them and the build goes on. Run with -DSHOTS -DGEN -DPICTURES -DOUTPUT.
file(REMOVE_RECURSE ${PICTURES})
file(MAKE_DIRECTORY ${PICTURES})
execute_process(COMMAND ${SHOTS} ${PICTURES}
                RESULT_VARIABLE _shots OUTPUT_QUIET ERROR_VARIABLE _shotsErrors TIMEOUT 120)
if(NOT _shots EQUAL 0)
  message(WARNING "User guide without pictures of the windows (${_shots}): ${_shotsErrors}")
  file(REMOVE_RECURSE ${PICTURES})
endif()
execute_process(COMMAND ${GEN} ${OUTPUT} ${PICTURES} RESULT_VARIABLE _gen)
if(NOT _gen EQUAL 0)
  message(FATAL_ERROR "The user guide could not be written (${_gen})")
endif()
