# plotvane-cli on the bundled samples writes exactly the committed files.
#   cmake -DCLI=plotvane-cli -DSAMPLES=build/samples -DEXPECTED=tests/testdata/cli -P pinned_outputs.cmake
set(failures "")
function(check expected)
  execute_process(COMMAND ${CLI} digitize ${ARGN} OUTPUT_VARIABLE output ERROR_VARIABLE errors
                  RESULT_VARIABLE code)
  file(READ ${EXPECTED}/${expected} wanted)
  if(NOT code EQUAL 0 OR NOT output STREQUAL wanted)
    set(failures "${failures}  ${expected} (exit ${code}) ${errors}\n" PARENT_SCOPE)
  endif()
endfunction()

check(readme_line_division10.csv ${SAMPLES}/line.bmp --type line --division 10 --x 0,10 --y 0,100)
foreach(chart line scatter area)
  foreach(kind bmp gif)
    foreach(type line points surface)
      check(${chart}.${kind}.${type}.division50.csv ${SAMPLES}/${chart}.${kind} --type ${type}
            --division 50 --x 0,10 --y 0,100)
    endforeach()
  endforeach()
endforeach()
check(scatter.bmp.points.rect.txt ${SAMPLES}/scatter.bmp --type points --rect 10,20,300,200
      --delimiter tab)

if(failures)
  message(FATAL_ERROR "plotvane-cli wrote other bytes than the committed files:\n${failures}")
endif()
