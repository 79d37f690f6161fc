# Installs the libraries with their public headers and a package config, so that another project can
# find_package(Nimbrel) and link Nimbrel::corekit and Nimbrel::meteo.
include(CMakePackageConfigHelpers)

set(NIMBREL_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/Nimbrel")

install(TARGETS corekit meteo_base meteo
    EXPORT NimbrelTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} NAMELINK_COMPONENT dev
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/nimbrel)

install(EXPORT NimbrelTargets
    NAMESPACE Nimbrel::
    DESTINATION ${NIMBREL_INSTALL_CMAKEDIR} COMPONENT dev)

configure_package_config_file(cmake/NimbrelConfig.cmake.in
    "${PROJECT_BINARY_DIR}/NimbrelConfig.cmake"
    INSTALL_DESTINATION ${NIMBREL_INSTALL_CMAKEDIR})
write_basic_package_version_file("${PROJECT_BINARY_DIR}/NimbrelConfigVersion.cmake"
    COMPATIBILITY SameMajorVersion)
install(FILES "${PROJECT_BINARY_DIR}/NimbrelConfig.cmake" "${PROJECT_BINARY_DIR}/NimbrelConfigVersion.cmake"
    DESTINATION ${NIMBREL_INSTALL_CMAKEDIR} COMPONENT dev)
