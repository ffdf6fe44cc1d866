# bin/velmora and bin/velmora-find are relative links into the program's own folder, so the
# installed tree can be moved or staged (DESTDIR, the package build) without breaking them,
# and each program still finds its support files beside its real executable.
set(velmora_links ${CMAKE_BINARY_DIR}/packaging/bin)
file(MAKE_DIRECTORY ${velmora_links})
foreach(program velmora velmora-find)
    file(CREATE_LINK ../${VELMORA_INSTALL_DIR}/${program} ${velmora_links}/${program} SYMBOLIC)
    install(FILES ${velmora_links}/${program} DESTINATION bin)
endforeach()

set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_CONTACT "Velmora <support@velmora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find files whose names are partial duplicates")
# Debian shows the description as it stands, so its lines are broken here, within 80
# columns.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Velmora fills a list of candidate files, compares their names (whole, without"
    "the extension, or before or after a chosen text) and shows the files that are"
    "partial duplicates of each other, ready to be moved to the trash, saved as a"
    "list or copied. velmora-find runs the same search from the command line.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://velmora.example")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The first Debian revision of each release; its entry heads packaging/debian/changelog.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its display plugins at run time, so the library scan cannot see them: the X11
# one and the Wayland one. The fixed window layout is measured with Arial's metrics, and
# without a font of the same metrics the captions are cut.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-wayland, fonts-liberation2")
include(CPack)

# What Debian asks of every package: the licence in machine-readable form and the
# package's history, compressed without a time stamp so each build gives the same bytes.
set(velmora_doc ${CMAKE_BINARY_DIR}/packaging/doc)
set(velmora_changelog ${velmora_doc}/changelog.Debian.gz)
add_custom_command(OUTPUT ${velmora_changelog}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${velmora_doc}
    COMMAND gzip -9nc ${CMAKE_CURRENT_LIST_DIR}/debian/changelog > ${velmora_changelog}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/debian/changelog
    VERBATIM)
add_custom_target(velmora_changelog ALL DEPENDS ${velmora_changelog})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright ${velmora_changelog}
        DESTINATION share/doc/velmora)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/lintian-overrides
        DESTINATION share/lintian/overrides RENAME velmora)

# A stripped program still carries the compilers' version notes; Debian's own packages
# leave them out, as dh_strip does.
install(CODE [[
    if(CMAKE_INSTALL_DO_STRIP)
        foreach(program velmora velmora-find)
            execute_process(COMMAND objcopy --remove-section=.comment
                "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/lib/velmora/${program}"
                COMMAND_ERROR_IS_FATAL ANY)
        endforeach()
    endif()
]])
