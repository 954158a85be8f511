# plotvane without a display says so in one line and exits with status 1,
# for an unset display and for one that is not there.
#   cmake -DPLOTVANE=build/plotvane -P no_display.cmake
set(failures "")
foreach(display "" ":987")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=WAYLAND_DISPLAY --unset=DISPLAY
                          QT_QPA_PLATFORM=xcb DISPLAY=${display} ${PLOTVANE}
                  OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE code TIMEOUT 60)
  string(STRIP "${errors}" errors)
  if(NOT code EQUAL 1 OR NOT output STREQUAL "" OR errors MATCHES "\n" OR
     NOT errors MATCHES "^plotvane: no display found.*xvfb-run")
    set(failures "${failures}  DISPLAY=\"${display}\": exit ${code}, said: ${errors}\n")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "plotvane without a display:\n${failures}")
endif()
