# Warnings for every target of the project.
function(quillon_set_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /permissive- /utf-8)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    endif()
endfunction()

# Tests find the source tree and the built programs by the paths compiled into
# them. A Windows build run under Wine sees this machine's root folder as drive Z:.
# There the unattended-install tests make their trees where the Linux build's
# do, named as there ("/tmp/..."): Windows reads such a path as rooted on the
# current drive, a form that must work as well as "C:\...".
if(WIN32 AND CMAKE_CROSSCOMPILING)
    set(QUILLON_TEST_DRIVE "Z:")
    set(QUILLON_TEST_UNIX_TEMP "/tmp")
else()
    set(QUILLON_TEST_DRIVE "")
    set(QUILLON_TEST_UNIX_TEMP "")
endif()

# A static Qt has its plugins linked in: the platform's own one comes by
# default, the offscreen one that tests and unattended runs use only when asked.
function(quillon_import_offscreen_plugin target)
    get_target_property(qt_core_type Qt6::Core TYPE)
    if(qt_core_type STREQUAL "STATIC_LIBRARY" AND TARGET Qt6::QOffscreenIntegrationPlugin)
        qt_import_plugins(${target} INCLUDE Qt6::QOffscreenIntegrationPlugin)
    endif()
endfunction()

# quillon_add_test(<name> [NOT_REGISTERED] SOURCES <files...> [LIBRARIES <targets...>])
# One Qt Test executable registered with CTest, unless NOT_REGISTERED (the
# caller registers it its own way). Tests run offscreen so that widget tests
# need no display.
function(quillon_add_test name)
    cmake_parse_arguments(ARG "NOT_REGISTERED" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBRARIES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
    target_compile_definitions(${name} PRIVATE
        QUILLON_SOURCE_DIR="${QUILLON_TEST_DRIVE}${PROJECT_SOURCE_DIR}"
        QUILLON_RESOURCES_DIR="${QUILLON_TEST_DRIVE}${PROJECT_SOURCE_DIR}/resources")
    if(QUILLON_TEST_UNIX_TEMP)
        target_compile_definitions(${name} PRIVATE QUILLON_TEST_UNIX_TEMP="${QUILLON_TEST_UNIX_TEMP}")
    endif()
    set_target_properties(${name} PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    quillon_set_warnings(${name})
    quillon_import_offscreen_plugin(${name})
    if(NOT ARG_NOT_REGISTERED)
        add_test(NAME ${name} COMMAND ${name})
        quillon_set_test_environment(${name})
    endif()
endfunction()

# quillon_set_test_environment(<test> [<VAR=value>...])
# Runs the test offscreen, with the variables given; a variable's value
# overrides the default of the same name. Each test takes the lock that keeps
# install runs apart in a folder of its own, so that tests run in parallel,
# and suites of other build trees, never wait for each other.
function(quillon_set_test_environment test)
    set(environment QT_QPA_PLATFORM=offscreen
        QUILLON_LOCK_DIR=${CMAKE_BINARY_DIR}/test-locks/${test})
    foreach(variable ${ARGN})
        string(REGEX REPLACE "=.*" "" variable_name "${variable}")
        list(FILTER environment EXCLUDE REGEX "^${variable_name}=")
        list(APPEND environment "${variable}")
    endforeach()
    # Qt Test on Windows sends its log to the debugger unless a console window
    # is attached; CTest reads it from the standard output.
    if(WIN32)
        list(APPEND environment QT_FORCE_STDERR_LOGGING=1)
    endif()
    # Under Wine the offscreen platform finds no fonts of its own; it gets
    # this machine's default font, so that text measures as on Linux.
    if(WIN32 AND CMAKE_CROSSCOMPILING AND EXISTS /usr/share/fonts/truetype/dejavu)
        list(APPEND environment QT_QPA_FONTDIR=Z:/usr/share/fonts/truetype/dejavu)
    endif()
    # Wine hands QT_* variables to Windows programs only when spelt WINEQT_*.
    if(WIN32 AND CMAKE_CROSSCOMPILING)
        list(TRANSFORM environment PREPEND WINE OUTPUT_VARIABLE wine_environment)
        list(APPEND environment ${wine_environment})
    endif()
    set_tests_properties(${test} PROPERTIES ENVIRONMENT "${environment}" TIMEOUT 300)
endfunction()

# Two builds of one commit give the same programs: MinGW's linker leaves out
# the link time it would write into the headers and the export table.
if(MINGW)
    add_link_options(-Wl,--no-insert-timestamp)
endif()
