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
set(CPACK_PACKAGE_DESCRIPTION
    "Velmora fills a list of candidate files, compares their names (whole, without the \
extension, or before or after a chosen text) and shows the files that are partial \
duplicates of each other, ready to be moved to the trash, saved as a list or copied. \
velmora-find runs the same search from the command line.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://velmora.example")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its display plugins at run time, so the library scan cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The fixed window layout is measured with Arial's metrics.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2")
include(CPack)
