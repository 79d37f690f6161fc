# The program's command line: --help and --version answer without a display, and without one the program says so
# and fails instead of crashing. Run as: cmake -DPROGRAM=path/to/nimbdesk -DVERSION=0.1.0 -P commandline.cmake
function(run_without_display)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
        "${PROGRAM}" ${ARGN}
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE error TIMEOUT 30)
    set(result "${result}" PARENT_SCOPE)
    set(output "${output}" PARENT_SCOPE)
    set(error "${error}" PARENT_SCOPE)
endfunction()

# expect(message condition...): the condition as if() takes it.
function(expect message)
    if(NOT (${ARGN}))
        message(FATAL_ERROR "${message}\nexit: ${result}\nstdout: ${output}\nstderr: ${error}")
    endif()
endfunction()

run_without_display(--help)
string(FIND "${output}" "--data-dir <DIR>" data_dir)
string(FIND "${output}" "--settings-dir <DIR>" settings_dir)
string(FIND "${output}" "--minimized" minimized)
expect("--help lists the options" result EQUAL 0 AND data_dir GREATER -1 AND settings_dir GREATER -1
    AND minimized GREATER -1)

run_without_display(--version)
expect("--version prints the version" result EQUAL 0 AND output MATCHES "^Nimbrel ${VERSION}")

run_without_display(--data-dir /nonexistent)
string(FIND "${error}" "no display" no_display)
expect("without a display the program fails with a clear message" NOT result EQUAL 0 AND no_display GREATER -1)

# A display that cannot be reached: the platform plugin gives up, and the program says why.
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM DISPLAY=:4242
    "${PROGRAM}" RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE error TIMEOUT 30)
string(FIND "${error}" "no display could be reached" unreachable)
expect("an unreachable display fails with a clear message" result EQUAL 1 AND unreachable GREATER -1)
