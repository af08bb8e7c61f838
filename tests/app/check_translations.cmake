# Fails when the English translation misses a text of the sources or leaves one unfinished:
# lupdate brings a copy of the kept .ts up to the sources, which must change nothing, and
# lrelease must find every entry finished.
#   cmake -DLUPDATE=... -DLRELEASE=... -DTS=... -DWORK=... -DOPTIONS="opt;opt" -P check_translations.cmake
file(MAKE_DIRECTORY ${WORK})
get_filename_component(name ${TS} NAME)
set(copy ${WORK}/${name})
configure_file(${TS} ${copy} COPYONLY)
set(options ${OPTIONS})
execute_process(COMMAND ${LUPDATE} ${options} -ts ${copy} RESULT_VARIABLE status
                OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed: ${out}")
endif()
file(READ ${TS} kept)
file(READ ${copy} updated)
if(NOT kept STREQUAL updated)
    execute_process(COMMAND diff -u ${TS} ${copy} OUTPUT_VARIABLE difference)
    message(FATAL_ERROR "The sources hold texts the translation does not, or the other way "
                        "round; run the target tesk_update_translations and translate:\n"
                        "${difference}")
endif()
foreach(mark "type=\"unfinished\"" "type=\"vanished\"" "type=\"obsolete\"")
    string(FIND "${kept}" "${mark}" at)
    if(NOT at EQUAL -1)
        message(FATAL_ERROR "${name} holds an entry marked ${mark}")
    endif()
endforeach()
execute_process(COMMAND ${LRELEASE} ${copy} -qm ${WORK}/check.qm RESULT_VARIABLE status
                OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0 OR NOT out MATCHES "\\(([0-9]+) finished and 0 unfinished\\)")
    message(FATAL_ERROR "lrelease: ${out}")
endif()
if(CMAKE_MATCH_1 LESS 100)
    message(FATAL_ERROR "only ${CMAKE_MATCH_1} texts translated: ${out}")
endif()
message(STATUS "${out}")
