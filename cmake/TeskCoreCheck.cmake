# The core folders build and run without a window system: fail the build if one of
# them includes a Qt or GL header.
set(TESK_CORE_DIRS base model surface lod effects link document)
add_custom_target(tesk_core_check ALL
    COMMAND ${CMAKE_COMMAND} -DSRC=${PROJECT_SOURCE_DIR}/src "-DDIRS=${TESK_CORE_DIRS}"
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckCoreIncludes.cmake
    COMMENT "Checking that the core includes no Qt or GL header"
    VERBATIM)
