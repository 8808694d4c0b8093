# qel_library(NAME SOURCES ... LINKS ...): one static library per subsystem layer.
function(qel_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
endfunction()

# qel_test(NAME [WIDGETS] SOURCES ... LINKS ...): a GoogleTest executable run headless under ctest;
# WIDGETS gives it a QApplication instead of a QGuiApplication.
function(qel_test name)
    cmake_parse_arguments(ARG "WIDGETS" "TIMEOUT" "SOURCES;LINKS" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    if(ARG_WIDGETS)
        target_link_libraries(${name} PRIVATE ${ARG_LINKS} qel_testmain_widgets)
    else()
        target_link_libraries(${name} PRIVATE ${ARG_LINKS} qel_testmain_gui)
    endif()
    # The binary finds its fixtures by itself, without ctest's environment.
    target_compile_definitions(${name} PRIVATE QEL_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
