# Quits after an alarm twenty times: every run ends with status 0.
foreach(run RANGE 1 20)
    execute_process(COMMAND ${PROBE} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
    if(NOT rc STREQUAL "0")
        message(FATAL_ERROR "run ${run} ended with ${rc} (3: the sound plug-in outlived the application)\n${out}${err}")
    endif()
endforeach()
