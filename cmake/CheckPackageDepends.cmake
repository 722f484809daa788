# Run by CPack after it built the package: a package whose Depends line lacks the libraries the
# program cannot start without (CPack leaves out every shared library when dpkg-shlibdeps or
# file is missing) is deleted, and the build fails.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
    execute_process(COMMAND dpkg-deb --field "${deb}" Depends
                    OUTPUT_VARIABLE depends RESULT_VARIABLE failed OUTPUT_STRIP_TRAILING_WHITESPACE)
    set(missing "")
    foreach(library libqt6widgets6 libsqlite3-0)
        if(failed OR NOT depends MATCHES "(^|[ ,])${library}([ ,(]|$)")
            list(APPEND missing ${library})
        endif()
    endforeach()
    get_filename_component(name "${deb}" NAME)
    if(missing)
        file(REMOVE "${deb}")
        list(JOIN missing " and " missing)
        message(FATAL_ERROR "${name} would depend on \"${depends}\", without ${missing}: is "
                            "dpkg-shlibdeps there (Debian packages dpkg-dev and file, `make deps`)?")
    endif()
    message(STATUS "${name}: Depends: ${depends}")
endforeach()
