# Manual pages, the package's documents, and the Debian package built by CPack (`cpack -G DEB` in the build folder).

# Debian wants manual pages and changelogs compressed, reproducibly (no name or time in the gzip header).
function(stampkeep_gzip source output)
    add_custom_command(OUTPUT ${output}
        COMMAND gzip -9 -n -c ${CMAKE_CURRENT_SOURCE_DIR}/${source} > ${output}
        DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${source} VERBATIM)
endfunction()

set(stampkeep_compressed ${CMAKE_CURRENT_BINARY_DIR}/stkcli.1.gz ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz)
stampkeep_gzip(console/stkcli.1 ${CMAKE_CURRENT_BINARY_DIR}/stkcli.1.gz)
stampkeep_gzip(packaging/changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/stkcli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(STAMPKEEP_WINDOW)
    stampkeep_gzip(window/stampkeep.1 ${CMAKE_CURRENT_BINARY_DIR}/stampkeep.1.gz)
    list(APPEND stampkeep_compressed ${CMAKE_CURRENT_BINARY_DIR}/stampkeep.1.gz)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/stampkeep.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
add_custom_target(compressed_documents ALL DEPENDS ${stampkeep_compressed})

set(stampkeep_docdir ${CMAKE_INSTALL_DATADIR}/doc/stampkeep)
install(FILES packaging/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz DESTINATION ${stampkeep_docdir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME stampkeep)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
set(CPACK_PACKAGE_CONTACT "Stampkeep developers <maintainers@stampkeep.org>")
# The registration in /etc is written at install time under DESTDIR, so the package is staged that way, with /usr as
# the prefix whatever the build folder's own.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its platform plugins at run time, so the libraries do not name them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "set and undo the date/time stamps and attributes of files")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Stampkeep changes the Modified and Created stamps and the archive, system,
hidden and read-only attributes of files and folders, and can put every
change back. New stamps come from a chosen date and time, optionally a step
apart from file to file, from the file's other stamp, or from the same-named
file in another folder, or from the date recorded in the file: the date a
photo was taken or a video recorded (Exif dates of JPEG, TIFF, PNG, WebP,
HEIC/HEIF, AVIF, JPEG XL and raw images; QuickTime and movie header dates of
MP4, MOV, M4V and 3GP videos). Attributes and Created stamps are kept where
Samba shows them to Windows clients.
.
The package holds the window program stampkeep and the console tool stkcli.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_SOURCE_DIR}/packaging/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
