# Runs one Windows test suite under Wine. A Qt program there writes nothing to a pipe on
# stdout (it has no console), so the suite writes its log to a file that is shown here.
#   cmake -DPROGRAM=tst_x.exe [-DPLATFORM=offscreen] -P run.cmake
get_filename_component(name ${PROGRAM} NAME_WE)
set(log ${CMAKE_CURRENT_BINARY_DIR}/${name}.log)
file(REMOVE ${log})
# QT_QPA_PLATFORM does not reach a static Qt through Wine; the argument does.
set(arguments -o ${log},txt)
if(PLATFORM)
    list(APPEND arguments -platform ${PLATFORM})
endif()
execute_process(COMMAND wine ${PROGRAM} ${arguments} RESULT_VARIABLE status)
if(EXISTS ${log})
    file(READ ${log} text)
    message("${text}")
endif()
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${name}: exit status ${status}")
endif()
