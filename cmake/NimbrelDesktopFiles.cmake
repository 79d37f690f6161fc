# What the desktop needs to list and show the program: the menu entry, the AppStream metadata of software centres,
# and the icon, as the SVG drawing and as PNG files at the sizes menus and panels ask for, rendered from the
# drawing at build time.
add_subdirectory("${PROJECT_SOURCE_DIR}/tools/iconrender" "${PROJECT_BINARY_DIR}/tools/iconrender")

set(NIMBREL_ICON_SIZES 16 24 32 48 64 128 256)
set(nimbrel_icon_svg "${PROJECT_SOURCE_DIR}/nimbdesk/nimbrel.svg")
set(nimbrel_icon_dir "${PROJECT_BINARY_DIR}/icons/hicolor")
set(nimbrel_icon_pngs "")
foreach(size IN LISTS NIMBREL_ICON_SIZES)
    list(APPEND nimbrel_icon_pngs "${nimbrel_icon_dir}/${size}x${size}/apps/nimbrel.png")
endforeach()
add_custom_command(OUTPUT ${nimbrel_icon_pngs}
    COMMAND nimbrel-iconrender "${nimbrel_icon_svg}" "${nimbrel_icon_dir}" ${NIMBREL_ICON_SIZES}
    DEPENDS nimbrel-iconrender "${nimbrel_icon_svg}"
    COMMENT "Rendering the PNG icons"
    VERBATIM)
add_custom_target(nimbrel-icons ALL DEPENDS ${nimbrel_icon_pngs})

install(FILES "${PROJECT_SOURCE_DIR}/nimbdesk/nimbrel.desktop" DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${PROJECT_SOURCE_DIR}/nimbdesk/io.github.nimbrel.Nimbrel.metainfo.xml"
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES "${nimbrel_icon_svg}" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY "${nimbrel_icon_dir}/" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
