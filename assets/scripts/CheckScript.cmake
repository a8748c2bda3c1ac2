# Runs vg-script-check on one script (CHECK, SOURCE): when it is clean the tool writes the
# script to OUTPUT with its named cells in numbers, as data.pck holds it; the event listing goes
# to LISTING.
execute_process(COMMAND ${CHECK} ${SOURCE} --resolved ${OUTPUT}
    OUTPUT_FILE ${LISTING}
    ERROR_VARIABLE problems
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    file(REMOVE ${OUTPUT})
    message(FATAL_ERROR "${SOURCE} does not check:\n${problems}")
endif()
