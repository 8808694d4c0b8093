# qel_library(NAME SOURCES ... LINKS ... [PRIVATE_LINKS ...]): one static library per layer.
#
# Each library gets an include root of its own in the build tree that holds links to its own
# headers only, under their paths below src/ ("chartview/ChartModel.h"). A library therefore
# sees exactly the headers of itself and of what it links: a core library that tried to
# include a widget header would not compile.
function(qel_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS;PRIVATE_LINKS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    set(root ${CMAKE_BINARY_DIR}/include/${name})
    file(REMOVE_RECURSE ${root})
    foreach(source IN LISTS ARG_SOURCES)
        if(source MATCHES "\\.h$")
            get_filename_component(absolute ${source} ABSOLUTE)
            file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR}/src ${absolute})
            get_filename_component(folder ${root}/${relative} DIRECTORY)
            file(MAKE_DIRECTORY ${folder})
            file(CREATE_LINK ${absolute} ${root}/${relative} SYMBOLIC)
        endif()
    endforeach()
    target_include_directories(${name} PUBLIC ${root})
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
    if(ARG_PRIVATE_LINKS)
        target_link_libraries(${name} PRIVATE ${ARG_PRIVATE_LINKS})
    endif()
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
