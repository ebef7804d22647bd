# Runs lupdate over a copy of each translation: every text of the window must
# have a finished translation there, and none may be left from a text gone.
# -D LUPDATE=... SOURCE_ROOT=... SOURCES_LIST=<lupdate list file> TS_FILES=a.ts;b.ts WORK_DIR=...
file(MAKE_DIRECTORY ${WORK_DIR})
set(failed "")
foreach(ts IN LISTS TS_FILES)
    get_filename_component(name ${ts} NAME)
    set(copy ${WORK_DIR}/${name})
    configure_file(${ts} ${copy} COPYONLY)
    execute_process(COMMAND ${LUPDATE} -silent -locations none -I ${SOURCE_ROOT} @${SOURCES_LIST} -ts ${copy}
        RESULT_VARIABLE status ERROR_VARIABLE errors)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "lupdate failed on ${name}: ${errors}")
    endif()
    file(READ ${copy} text)
    string(REPLACE ";" "\\;" text "${text}") # a text's semicolons are no list's
    # A source may hold <byte value="xd"/> for a character XML cannot carry;
    # comments for the translator may stand between it and its translation.
    string(REGEX MATCHALL "<source>([^<]|<byte[^>]*>)*</source>([ \r\n]*<[a-z]*comment>[^<]*</[a-z]*comment>)*[ \r\n]*<translation( type=\"(unfinished|vanished|obsolete)\"|></translation>|/>)"
        entries "${text}")
    foreach(entry IN LISTS entries)
        string(APPEND failed "\n${name}: ${entry}")
    endforeach()
endforeach()
if(failed)
    message(FATAL_ERROR "translations to finish or remove (cmake --build <build> --target update_translations):${failed}")
endif()
