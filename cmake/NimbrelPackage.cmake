# The manual pages, the Debian documentation files, and the Debian packages built by CPack:
#   cpack -G DEB   (in the build folder) gives nimbrel_<version>_amd64.deb with the programs, the libraries, the
#   data, the desktop files and the manual pages, and nimbrel-dev_<version>_amd64.deb with the headers and the
#   CMake package.

# Every manual page in docs/man, compressed as Debian's policy asks (gzip -9n: no name and time, so the same page
# gives the same bytes).
file(GLOB nimbrel_man_pages CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/docs/man/*.[1-9]")
# Ninja makes the folders of a command's outputs, Make does not.
file(MAKE_DIRECTORY "${PROJECT_BINARY_DIR}/man" "${PROJECT_BINARY_DIR}/packaging")
set(nimbrel_compressed "")
function(nimbrel_gzip source output)
    add_custom_command(OUTPUT "${output}"
        COMMAND gzip -9n -c "${source}" > "${output}"
        DEPENDS "${source}"
        VERBATIM)
endfunction()
foreach(page IN LISTS nimbrel_man_pages)
    get_filename_component(name "${page}" NAME)
    string(REGEX REPLACE ".*\\.([1-9])$" "\\1" section "${name}")
    nimbrel_gzip("${page}" "${PROJECT_BINARY_DIR}/man/${name}.gz")
    list(APPEND nimbrel_compressed "${PROJECT_BINARY_DIR}/man/${name}.gz")
    install(FILES "${PROJECT_BINARY_DIR}/man/${name}.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()
nimbrel_gzip("${PROJECT_SOURCE_DIR}/packaging/changelog" "${PROJECT_BINARY_DIR}/packaging/changelog.gz")
add_custom_target(nimbrel-docs ALL DEPENDS ${nimbrel_compressed} "${PROJECT_BINARY_DIR}/packaging/changelog.gz")

install(FILES "${PROJECT_SOURCE_DIR}/packaging/copyright" "${PROJECT_BINARY_DIR}/packaging/changelog.gz"
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/nimbrel)
install(FILES "${PROJECT_SOURCE_DIR}/packaging/copyright" "${PROJECT_BINARY_DIR}/packaging/changelog.gz"
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/nimbrel-dev COMPONENT dev)

# The programs find the libraries beside them through their RPATH ("$ORIGIN/../lib") wherever they are installed;
# installed under /usr the libraries are in the system's own folder, where a search path is neither needed nor
# allowed by Debian's policy. Install rules run in the order they are declared, so this one comes after every
# program's.
install(CODE [[
    if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
        foreach(file IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
            set(file "$ENV{DESTDIR}${file}")
            if(file MATCHES "/bin/[^/]+$" AND NOT IS_SYMLINK "${file}")
                file(RPATH_REMOVE FILE "${file}")
            endif()
        endforeach()
    endif()
]])

set(CPACK_PACKAGE_NAME nimbrel)
set(CPACK_PACKAGE_VENDOR "The Nimbrel developers")
set(CPACK_PACKAGE_CONTACT "The Nimbrel developers <maintainers@nimbrel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop weather monitor for places in the United States")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME nimbrel)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION utils)
# The libraries' shlibs file and the trigger that runs ldconfig once after all packages are unpacked.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA "${PROJECT_SOURCE_DIR}/packaging/triggers")
# CPack puts the summary above each description, as its first line.
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION [[
Nimbrel shows the weather of one place in the United States from the
National Weather Service: the latest observation on four gauges
(temperature, dew point, wind, pressure) and in the tray, the zone
forecast and the chosen warnings and special messages in two scrolling
tickers.]])
set(CPACK_DEBIAN_DEV_PACKAGE_NAME nimbrel-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_DESCRIPTION [[
The development files of Nimbrel's libraries: the headers and the CMake
package (find_package(Nimbrel)) of corekit, the strings, times and record
files, and of meteo, the location database and the reader of National
Weather Service products.]])
set(CPACK_COMPONENT_DEV_DEPENDS runtime)
include(CPack)
