# cmake --install and cpack -G DEB: the program, its pictures and what a Linux desktop
# needs to list it, open its files and document it.

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(AIMWELL_ID io.github.aimwell.Aimwell)
set(AIMWELL_DATA ${CMAKE_SOURCE_DIR}/data)

# Debian wants both compressed without a timestamp or a name inside.
foreach(doc aimwell.1 changelog)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${doc}.gz
        COMMAND sh -c "gzip -9n -c '${AIMWELL_DATA}/${doc}' > '${CMAKE_BINARY_DIR}/${doc}.gz'"
        DEPENDS ${AIMWELL_DATA}/${doc}
        VERBATIM)
    list(APPEND AIMWELL_COMPRESSED_DOCS ${CMAKE_BINARY_DIR}/${doc}.gz)
endforeach()
add_custom_target(aimwell_docs ALL DEPENDS ${AIMWELL_COMPRESSED_DOCS})

install(TARGETS aimwell RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/imgs DESTINATION ${CMAKE_INSTALL_DATADIR}/aimwell)
install(FILES ${AIMWELL_DATA}/${AIMWELL_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${AIMWELL_DATA}/${AIMWELL_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${AIMWELL_DATA}/aimwell-mime.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME aimwell.xml)
install(DIRECTORY ${AIMWELL_DATA}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${CMAKE_BINARY_DIR}/aimwell.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The daily reminder as a systemd user timer, where systemd looks for user units under the
# prefix. The service names the program by the prefix of this install (cmake --install
# --prefix, cpack), not of the configure run.
install(CODE "
    set(AIMWELL_BINDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    configure_file(\"${AIMWELL_DATA}/aimwell-remind.service.in\"
        \"${CMAKE_BINARY_DIR}/aimwell-remind.service\" @ONLY)")
install(FILES ${CMAKE_BINARY_DIR}/aimwell-remind.service ${AIMWELL_DATA}/aimwell-remind.timer
    DESTINATION lib/systemd/user)
# Named after the package rather than the project, as Debian expects.
install(FILES ${AIMWELL_DATA}/copyright ${CMAKE_BINARY_DIR}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/aimwell)

set(CPACK_PACKAGE_NAME aimwell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Aimwell developers")
set(CPACK_PACKAGE_CONTACT "The Aimwell developers <aimwell@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "planner for one goal at a time")
set(CPACK_PACKAGE_DESCRIPTION
    "Aimwell shows one main goal in the middle of a dashboard with up to eight
sub-goal panels around it. Each sub-goal has a plain-text task list; a line
with two dashes counts as done. Each panel shows its task counts, a green or
blue light and an optional due date.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/aimwell/aimwell)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not a library dependency, but without a platform plugin no window can open.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
include(CPack)
