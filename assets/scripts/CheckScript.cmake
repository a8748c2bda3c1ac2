# Runs vg-script-check on one script (CHECK, SOURCE) and, when it is clean, copies the script to
# OUTPUT; the event listing goes to LISTING.
execute_process(COMMAND ${CHECK} ${SOURCE}
    OUTPUT_FILE ${LISTING}
    ERROR_VARIABLE problems
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${SOURCE} does not check:\n${problems}")
endif()
file(COPY_FILE ${SOURCE} ${OUTPUT})
