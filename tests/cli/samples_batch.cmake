# plotvane-cli as built, with the window's picture reader, on the bundled samples:
# - a prepared picture saved as a bitmap reads back to the same pixels (preparing
#   it again with no step writes the same bytes) and digitizes to what digitizing
#   with the steps finds;
# - a batch with a broken picture writes, with one job or several, the files that
#   single runs write, reports the broken one and exits 1.
#   cmake -DCLI=plotvane-cli -DSAMPLES=build/samples -DWORK=folder -P samples_batch.cmake
set(failures "")
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(cli result_code result_out result_err)
  execute_process(COMMAND ${CLI} ${ARGN} OUTPUT_VARIABLE out ERROR_VARIABLE err
                  RESULT_VARIABLE code)
  set(${result_code} ${code} PARENT_SCOPE)
  set(${result_out} "${out}" PARENT_SCOPE)
  set(${result_err} "${err}" PARENT_SCOPE)
endfunction()

function(fail text)
  set(failures "${failures}  ${text}\n" PARENT_SCOPE)
endfunction()

set(steps --rotate -7 --contrast 30 --brightness -10 --mask 40,60,200,60,remove --erase 60,50,20)
foreach(sample line.gif scatter.bmp area.jpg)
  cli(code out err prepare ${SAMPLES}/${sample} ${steps} --save-picture ${WORK}/a.bmp)
  if(NOT code EQUAL 0 OR NOT out STREQUAL "" OR NOT err STREQUAL "")
    fail("prepare ${sample}: exit ${code} ${err}")
  endif()
  cli(code out err prepare ${WORK}/a.bmp --save-picture ${WORK}/b.bmp)
  file(SHA256 ${WORK}/a.bmp first)
  file(SHA256 ${WORK}/b.bmp second)
  if(NOT code EQUAL 0 OR NOT first STREQUAL second)
    fail("${sample}: the prepared bitmap did not read back to the same pixels (exit ${code})")
  endif()
  cli(code prepared err digitize ${SAMPLES}/${sample} --type points ${steps})
  cli(code2 saved err2 digitize ${WORK}/a.bmp --type points)
  if(NOT code EQUAL 0 OR NOT code2 EQUAL 0 OR NOT prepared STREQUAL saved)
    fail("${sample}: digitizing with the steps and digitizing the saved picture differ")
  endif()
endforeach()

file(WRITE ${WORK}/broken.png "not a picture")
set(calibration --type line --division 40 --x 0,10 --y 0,100 --rect-fraction 0.05,0,0.95,1)
# One batch a kind: line.bmp and line.gif would both write line.csv.
foreach(kind bmp gif jpg)
  set(batch)
  foreach(chart line scatter area)
    list(APPEND batch ${SAMPLES}/${chart}.${kind})
  endforeach()
  list(INSERT batch 1 ${WORK}/broken.png)
  foreach(jobs 1 3)
    set(out ${WORK}/${kind}${jobs})
    cli(code stdout err digitize ${batch} ${calibration} --jobs ${jobs} --output-dir ${out})
    if(NOT code EQUAL 1 OR NOT err MATCHES
       "^${WORK}/broken.png: [^\n]+\n${WORK}/broken.png: not a picture in a format the reader knows\nplotvane-cli: 4 pictures, [0-9]+ points, 1 failed\n$")
      fail("batch of the ${kind} samples with ${jobs} jobs: exit ${code}, stderr '${err}'")
    endif()
    if(EXISTS ${out}/broken.csv)
      fail("batch of the ${kind} samples with ${jobs} jobs wrote a file for the broken picture")
    endif()
  endforeach()
  foreach(chart line scatter area)
    cli(code single err digitize ${SAMPLES}/${chart}.${kind} ${calibration})
    foreach(jobs 1 3)
      file(READ ${WORK}/${kind}${jobs}/${chart}.csv written)
      if(NOT code EQUAL 0 OR NOT written STREQUAL single)
        fail("${chart}.${kind}: the batch with ${jobs} jobs wrote other bytes than a single run")
      endif()
    endforeach()
  endforeach()
endforeach()

if(failures)
  message(FATAL_ERROR "plotvane-cli on the samples:\n${failures}")
endif()
