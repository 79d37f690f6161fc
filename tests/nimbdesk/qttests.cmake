# Qt Test executables of the display controls, one per topic, run on the offscreen platform:
# nimbrel_add_qttest(name SOURCES a.cpp LIBS lib... [REVIEW] [PROPERTIES prop value...]), the properties being those
# of the ctest test ("LABELS threads" also lets the thread-sanitizer build compile it; an ENVIRONMENT adds to the
# platform's). With REVIEW the executable's renderForReview, which draws PNG files below NIMBREL_TEST_OUTPUT (this
# folder of the build tree), is also a test of its own with the label "review", left out of the presets' runs:
# ctest --test-dir build -L review.
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)

function(nimbrel_add_qttest name)
    cmake_parse_arguments(ARG "REVIEW" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Widgets Qt6::Test nimbrel_warnings)
    target_compile_definitions(${name} PRIVATE NIMBREL_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
        NIMBREL_SOURCE_DIR="${PROJECT_SOURCE_DIR}" NIMBREL_TEST_OUTPUT="${CMAKE_CURRENT_BINARY_DIR}")
    add_test(NAME ${name} COMMAND ${name})
    if(ARG_PROPERTIES)
        set_tests_properties(${name} PROPERTIES ${ARG_PROPERTIES})
    endif()
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT QT_QPA_PLATFORM=offscreen)
    set_property(TEST ${name} APPEND PROPERTY LABELS widgets)
    if("threads" IN_LIST ARG_PROPERTIES)
        add_dependencies(nimbrel_thread_tests ${name})
    endif()
    if(ARG_REVIEW)
        add_test(NAME ${name}_review COMMAND ${name} renderForReview)
        set_tests_properties(${name}_review PROPERTIES LABELS review
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;NIMBREL_REVIEW=1")
    endif()
endfunction()
