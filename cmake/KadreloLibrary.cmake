# kadrelo_library(<name> [DIR <dir>])
# A static library of every .cpp/.h of one folder (not its subfolders), the
# folder's parent on the include path so headers read as "db/Database.h".
function(kadrelo_library name)
    cmake_parse_arguments(ARG "" "DIR" "" ${ARGN})
    if(NOT ARG_DIR)
        set(ARG_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    endif()
    file(GLOB sources CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp ${ARG_DIR}/*.h ${ARG_DIR}/*.qrc)
    list(FILTER sources INCLUDE REGEX "\\.cpp$")
    file(GLOB all CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp ${ARG_DIR}/*.h ${ARG_DIR}/*.qrc)
    add_library(${name} STATIC ${all})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    if(NOT sources)
        # A folder still waiting for its first source file.
        file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp "")
        target_sources(${name} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
    endif()
endfunction()

# kadrelo_test(<name> SOURCES ... LIBS ...): one Qt Test executable run by CTest
# on the offscreen platform.
function(kadrelo_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} kadrelo_testsupport Qt6::Test)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    set(environment QT_QPA_PLATFORM=offscreen KADRELO_SCHEMA=${PROJECT_SOURCE_DIR}/resources/schema.sql
                    KADRELO_TESTDATA=${PROJECT_SOURCE_DIR}/tests/data)
    if(KADRELO_SANITIZE)
        # The first report fails the test; leaks count as reports.
        list(APPEND environment ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
                                UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1)
    endif()
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}" TIMEOUT 300)
endfunction()

# kadrelo_gallery(<name> SOURCES ... LIBS ...): a program that writes pictures
# of controls and windows for a person to look at; built with the tests, not
# run by CTest, since it checks nothing.
function(kadrelo_gallery name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} kadrelo_testsupport Qt6::Test)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_compile_definitions(${name} PRIVATE KADRELO_SCHEMA_FILE="${PROJECT_SOURCE_DIR}/resources/schema.sql")
endfunction()
