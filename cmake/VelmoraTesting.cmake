# One place registers every test and gives it a clean environment: real widgets drawn
# offscreen, and a home, settings store and trash of its own, so no test sees another's
# state or the developer's. Home sits on the build's file system because the trash serves
# files from home's file system out of home's own trash folder.
function(velmora_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} velmora_test_support GTest::gtest)
    set(home ${CMAKE_BINARY_DIR}/test-home/${name})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${home};XDG_CONFIG_HOME=${home}/config;XDG_DATA_HOME=${home}/data;XDG_CACHE_HOME=${home}/cache"
        FIXTURES_REQUIRED velmora_clean_homes)
endfunction()
