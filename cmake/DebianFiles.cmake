# Run by CPack on the package's tree before it is packed: the copyright file,
# the changelog and the manuals, gzip'd without a time stamp (-n), so the same
# sources give the same package.
set(root "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
set(doc "${root}/${CPACK_TABULON_DATADIR}/doc/tabulon")
file(MAKE_DIRECTORY "${doc}")
file(COPY_FILE "${CPACK_TABULON_COPYRIGHT}" "${doc}/copyright")
file(COPY_FILE "${CPACK_TABULON_CHANGELOG}" "${doc}/changelog.Debian")
file(GLOB manuals "${root}/${CPACK_TABULON_MANDIR}/man1/*.1")
foreach(file "${doc}/changelog.Debian" ${manuals})
    execute_process(COMMAND gzip -9nf "${file}" RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "cannot compress ${file}")
    endif()
endforeach()
