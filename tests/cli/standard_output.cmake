# plotvane-cli with its standard output on a full disk, then closed: exit
# code 1 and a message that says so with the system's reason.
#   cmake -DCLI=plotvane-cli -DPICTURE=build/samples/line.bmp -P standard_output.cmake
execute_process(COMMAND ${CLI} digitize ${PICTURE} --type line OUTPUT_FILE /dev/full
                ERROR_VARIABLE full RESULT_VARIABLE fullCode)
execute_process(COMMAND sh -c "exec \"$0\" digitize \"$1\" --type line >&-" ${CLI} ${PICTURE}
                ERROR_VARIABLE closed RESULT_VARIABLE closedCode)
set(wanted "plotvane-cli: standard output could not be written: ")
if(NOT fullCode EQUAL 1 OR NOT full STREQUAL "${wanted}No space left on device\n")
  message(FATAL_ERROR "onto /dev/full: exit ${fullCode}, '${full}'")
endif()
if(NOT closedCode EQUAL 1 OR NOT closed STREQUAL "${wanted}Bad file descriptor\n")
  message(FATAL_ERROR "with standard output closed: exit ${closedCode}, '${closed}'")
endif()
