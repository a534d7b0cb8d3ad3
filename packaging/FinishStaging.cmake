# Runs in cpack after the files are staged (and the programs stripped) and before the package is
# made, doing what Debian's own tools do at that point: drops the compiler's .comment section
# from each program, and compresses each manual page and the Debian changelog with gzip -9n (no
# name or time stamp inside, so the same files give the same package).
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
file(GLOB programs "${root}/*/bin/*")
foreach(program IN LISTS programs)
    execute_process(COMMAND objcopy --remove-section=.comment "${program}" RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "objcopy ${program} failed")
    endif()
endforeach()
file(GLOB_RECURSE docs "${root}/*/share/man/man*/*.[1-9]" "${root}/*/share/doc/*/changelog.Debian")
foreach(doc IN LISTS docs)
    execute_process(COMMAND gzip -9nf "${doc}" RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "gzip ${doc} failed")
    endif()
endforeach()
