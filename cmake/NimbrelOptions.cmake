# A compiler cache, where the machine has one, makes rebuilds of unchanged sources cheap.
find_program(NIMBREL_CCACHE ccache)
if(NIMBREL_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
    set(CMAKE_CXX_COMPILER_LAUNCHER "${NIMBREL_CCACHE}")
endif()

# Warnings and sanitizers for every target of the project.
add_library(nimbrel_warnings INTERFACE)
target_compile_options(nimbrel_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
    -Wformat=2 -Wcast-align -Wnull-dereference)
if(NIMBREL_WERROR)
    target_compile_options(nimbrel_warnings INTERFACE -Werror)
endif()

if(NIMBREL_SANITIZE)
    set(nimbrel_san_flags -fsanitize=${NIMBREL_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_compile_options(${nimbrel_san_flags})
    add_link_options(${nimbrel_san_flags})
endif()

# Where the generated export headers go: they are included as "corekit/corekit_export.h".
set(NIMBREL_GENERATED_INCLUDE_DIR "${PROJECT_BINARY_DIR}/include")

# Each target sees only the include folders it is given. Includes name their folder from the repository root
# ("meteo/reader/wreader.h"), so a target's include root is a folder of the build tree that holds links to just
# what the target may include, under the same names.
set(NIMBREL_INCLUDE_ROOTS "${PROJECT_BINARY_DIR}/include-roots")

# nimbrel_expose_folder(target PUBLIC|PRIVATE folder): every header of <folder> (relative to the repository root).
function(nimbrel_expose_folder target scope folder)
    set(root "${NIMBREL_INCLUDE_ROOTS}/${target}")
    get_filename_component(parent "${root}/${folder}" DIRECTORY)
    file(MAKE_DIRECTORY "${parent}")
    file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${folder}" "${root}/${folder}" SYMBOLIC)
    target_include_directories(${target} ${scope} "$<BUILD_INTERFACE:${root}>")
endfunction()

# nimbrel_expose_headers(target PUBLIC|PRIVATE header...): just these headers (relative to the current folder).
function(nimbrel_expose_headers target scope)
    set(root "${NIMBREL_INCLUDE_ROOTS}/${target}")
    foreach(header IN LISTS ARGN)
        file(RELATIVE_PATH relative "${PROJECT_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}/${header}")
        get_filename_component(folder "${root}/${relative}" DIRECTORY)
        file(MAKE_DIRECTORY "${folder}")
        file(CREATE_LINK "${CMAKE_CURRENT_SOURCE_DIR}/${header}" "${root}/${relative}" SYMBOLIC)
    endforeach()
    target_include_directories(${target} ${scope} "$<BUILD_INTERFACE:${root}>")
endfunction()

# Builds one of the project's shared libraries: hidden symbols, an export header
# "<folder>/<name>_export.h", its public headers the only ones its users see, and those installed in their folder.
function(nimbrel_add_library name)
    cmake_parse_arguments(ARG "" "EXPORT_FOLDER" "SOURCES;PUBLIC_HEADERS;LINK_PUBLIC;LINK_PRIVATE" ${ARGN})
    add_library(${name} SHARED ${ARG_SOURCES})
    add_library(Nimbrel::${name} ALIAS ${name})
    set_target_properties(${name} PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR}
        OUTPUT_NAME nimbrel-${name})
    string(TOUPPER ${name} upper)
    generate_export_header(${name}
        EXPORT_FILE_NAME "${NIMBREL_GENERATED_INCLUDE_DIR}/${ARG_EXPORT_FOLDER}/${name}_export.h"
        EXPORT_MACRO_NAME ${upper}_EXPORT)
    target_include_directories(${name} PUBLIC "$<BUILD_INTERFACE:${NIMBREL_GENERATED_INCLUDE_DIR}>")
    nimbrel_expose_headers(${name} PUBLIC ${ARG_PUBLIC_HEADERS})
    target_link_libraries(${name} PUBLIC ${ARG_LINK_PUBLIC} PRIVATE nimbrel_warnings ${ARG_LINK_PRIVATE})
    # Lets calls between a library's own exported functions be inlined (the record reader's per-character
    # helpers, for one); no library of the project relies on interposing another's symbols.
    target_compile_options(${name} PRIVATE -fno-semantic-interposition)
    install(FILES "${NIMBREL_GENERATED_INCLUDE_DIR}/${ARG_EXPORT_FOLDER}/${name}_export.h"
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/nimbrel/${ARG_EXPORT_FOLDER} COMPONENT dev)
    foreach(header IN LISTS ARG_PUBLIC_HEADERS)
        file(RELATIVE_PATH relative "${PROJECT_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}/${header}")
        get_filename_component(folder "${relative}" DIRECTORY)
        install(FILES ${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/nimbrel/${folder} COMPONENT dev)
    endforeach()
endfunction()
