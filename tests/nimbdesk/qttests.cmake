# Qt Test executables of the display controls, one per topic, run on the offscreen platform:
# nimbrel_add_qttest(name SOURCES a.cpp LIBS lib...). Tests that draw for review write their PNG files below
# NIMBREL_TEST_OUTPUT, this folder of the build tree.
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)

function(nimbrel_add_qttest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Widgets Qt6::Test nimbrel_warnings)
    target_compile_definitions(${name} PRIVATE NIMBREL_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
        NIMBREL_SOURCE_DIR="${PROJECT_SOURCE_DIR}" NIMBREL_TEST_OUTPUT="${CMAKE_CURRENT_BINARY_DIR}")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endfunction()
