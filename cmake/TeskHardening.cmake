# Debian's hardening (fortify, stack protector, relro, bind-now) in the flags dpkg-buildflags
# gives, for every optimised build: the packaged Release tree and the tree the package test
# packs carry the same protection. The build type keeps choosing optimisation and debug
# information, so -g, -O and the folder-dependent -ffile-prefix-map are left out. Fortify
# needs optimisation and sanitizers bring checks of their own, so Debug and sanitizer builds
# go without.
find_program(TESK_DPKG_BUILDFLAGS dpkg-buildflags)
if(TESK_DPKG_BUILDFLAGS AND NOT TESK_SANITIZE AND NOT TESK_FUZZ
   AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
    set(harden_default ON)
else()
    set(harden_default OFF)
endif()
option(TESK_HARDEN "Build with the hardening flags of dpkg-buildflags" ${harden_default})

if(TESK_HARDEN)
    if(NOT TESK_DPKG_BUILDFLAGS)
        message(FATAL_ERROR "TESK_HARDEN needs dpkg-buildflags (package dpkg-dev)")
    endif()
    function(tesk_buildflags variable out)
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                    ${TESK_DPKG_BUILDFLAGS} --get ${variable}
            OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
        separate_arguments(flags UNIX_COMMAND "${flags}")
        list(FILTER flags EXCLUDE REGEX "^-(g|O.*|ffile-prefix-map=.*)$")
        set(${out} ${flags} PARENT_SCOPE)
    endfunction()
    tesk_buildflags(CPPFLAGS cppflags)
    tesk_buildflags(CXXFLAGS cxxflags)
    tesk_buildflags(LDFLAGS ldflags)
    add_compile_options(${cppflags} ${cxxflags})
    add_link_options(${ldflags})
    message(STATUS "Hardening: ${cppflags} ${cxxflags} ${ldflags}")
endif()
