# One place for the warning flags; every target links this.
add_library(tesk_warnings INTERFACE)
target_compile_options(tesk_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Werror -Wshadow -Wnon-virtual-dtor -Wcast-align
    -Woverloaded-virtual -Wimplicit-fallthrough)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # GCC 12 reports false positives from inlined std::vector code at -O2.
    target_compile_options(tesk_warnings INTERFACE -Wno-stringop-overflow -Wno-array-bounds
                                                   -Wno-restrict)
endif()

# tesk_library(NAME folder SOURCES ... LINKS ...): one library per source folder.
function(tesk_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LINKS} PRIVATE tesk_warnings)
endfunction()

# tesk_test(NAME SOURCES ... LINKS ... [LABELS ...] [FILTER gtest-filter]): a GoogleTest program
# registered with CTest; FILTER leaves tests out, for a second registration with other settings.
function(tesk_test name)
    cmake_parse_arguments(ARG "" "FILTER" "SOURCES;LINKS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LINKS} tesk_test_support GTest::gtest
                                          GTest::gtest_main tesk_warnings)
    target_compile_definitions(${name} PRIVATE
        TESK_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
        TESK_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    set(filter "")
    if(ARG_FILTER)
        set(filter TEST_FILTER "${ARG_FILTER}")
    endif()
    if(ARG_LABELS)
        gtest_discover_tests(${name} ${filter} PROPERTIES LABELS "${ARG_LABELS}"
                             DISCOVERY_TIMEOUT 60)
    else()
        gtest_discover_tests(${name} ${filter} DISCOVERY_TIMEOUT 60)
    endif()
endfunction()
