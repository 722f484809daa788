# Forkwise installed like a desktop program: `cmake --install` (make install) and CPack's DEB
# generator (make package) put the same files under the prefix, and nothing else: the program,
# its shared files (the delivered database and the help document) in share/forkwise, where the
# program looks for them beside its own folder, the desktop entry, the icons, the AppStream
# metadata, the manual page and the copyright. No test, benchmark or forkwise-mkdb. The two files
# made for it are built by the target forkwise_package_files, which the Makefile's install and
# package rules build first; the everyday build leaves them out.
set(package_dir "${PROJECT_SOURCE_DIR}/resources/package")

install(TARGETS forkwise RUNTIME DESTINATION bin)

# The delivered database, built afresh from seed/ (never copied from bin/Data, which holds the
# developer's own diet log); forkwise-mkdb never replaces a file, so the old one goes first.
set(delivered_db "${CMAKE_BINARY_DIR}/share/forkwise/ForkData.mdb")
file(GLOB seed_files CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/seed/*.sql"
     "${PROJECT_SOURCE_DIR}/seed/usda/*.tsv")
add_custom_command(OUTPUT "${delivered_db}"
    COMMAND ${CMAKE_COMMAND} -E rm -f "${delivered_db}"
    COMMAND forkwise-mkdb "${delivered_db}"
    DEPENDS forkwise-mkdb ${seed_files}
    COMMENT "Building the delivered database")
install(FILES "${delivered_db}" DESTINATION share/forkwise)
install(DIRECTORY "${PROJECT_SOURCE_DIR}/resources/help/" DESTINATION share/forkwise/Help)

install(FILES "${package_dir}/org.forkwise.Forkwise.desktop" DESTINATION share/applications)
install(FILES "${package_dir}/org.forkwise.Forkwise.metainfo.xml" DESTINATION share/metainfo)
foreach(size 16 22 32 48)
    install(FILES "${PROJECT_SOURCE_DIR}/resources/icons/app/forkwise-${size}.png"
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME forkwise.png)
endforeach()
install(FILES "${PROJECT_SOURCE_DIR}/resources/icons/app/forkwise.svg"
        DESTINATION share/icons/hicolor/scalable/apps)

# The manual page, compressed the way Debian keeps them (no name or time stamp in the gzip).
configure_file("${package_dir}/forkwise.1.in" "${CMAKE_BINARY_DIR}/share/man/forkwise.1" @ONLY)
find_program(GZIP gzip REQUIRED)
add_custom_command(OUTPUT "${CMAKE_BINARY_DIR}/share/man/forkwise.1.gz"
    COMMAND ${GZIP} -9nf forkwise.1 -c > forkwise.1.gz
    WORKING_DIRECTORY "${CMAKE_BINARY_DIR}/share/man"
    DEPENDS "${CMAKE_BINARY_DIR}/share/man/forkwise.1"
    COMMENT "Compressing the manual page")
add_custom_target(forkwise_package_files
    DEPENDS "${delivered_db}" "${CMAKE_BINARY_DIR}/share/man/forkwise.1.gz")
install(FILES "${CMAKE_BINARY_DIR}/share/man/forkwise.1.gz" DESTINATION share/man/man1)
install(FILES "${package_dir}/copyright" DESTINATION share/doc/forkwise)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME forkwise)
set(CPACK_PACKAGE_VENDOR "The Forkwise developers")
set(CPACK_PACKAGE_CONTACT "Forkwise developers <support@forkwise.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop diet and nutrition log for a household")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Forkwise developers <support@forkwise.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://forkwise.org")
# The summary above is the description's first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Forkwise keeps the diet log of a household of up to four people: foods from a
catalogue of about 7,900 USDA foods (or your own) dragged onto a day, with
their nutrients scaled to the serving, day totals, and a printed diet activity
report with the calorie shares of fat, carbohydrate and protein.")
# The libraries the program links come from dpkg-shlibdeps (packages dpkg-dev and file, without
# which CPack leaves them out without a word); the report's font is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
set(CPACK_POST_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/cmake/CheckPackageDepends.cmake")
include(CPack)
