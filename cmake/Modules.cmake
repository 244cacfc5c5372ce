# dbi_module(<folder> [DEPS targets...] [PKG pkg-config modules...] [EXCLUDE files...])
#
# A module is every .cpp file of one folder, built as the static library named after the
# folder with '/' turned into '_' (platform/rtl -> platform_rtl). A folder that has no sources
# yet becomes an interface library, so later modules can depend on it already.
find_package(Boost REQUIRED COMPONENTS regex filesystem)

function(dbi_module folder)
    cmake_parse_arguments(M "" "" "DEPS;PKG;EXCLUDE" ${ARGN})
    string(REPLACE "/" "_" name "${folder}")
    file(GLOB sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/${folder}/*.cpp")
    foreach(ex IN LISTS M_EXCLUDE)
        list(REMOVE_ITEM sources "${PROJECT_SOURCE_DIR}/${folder}/${ex}")
    endforeach()
    set(pkg_targets "")
    foreach(pkg IN LISTS M_PKG)
        if(NOT TARGET PkgConfig::${pkg})
            pkg_check_modules(${pkg} REQUIRED IMPORTED_TARGET GLOBAL ${pkg})
        endif()
        list(APPEND pkg_targets PkgConfig::${pkg})
    endforeach()
    if(sources)
        add_library(${name} STATIC ${sources})
        target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
        target_link_libraries(${name} PUBLIC ${M_DEPS} ${pkg_targets})
        set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET hidden
                                                 VISIBILITY_INLINES_HIDDEN ON)
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE "${PROJECT_SOURCE_DIR}")
        target_link_libraries(${name} INTERFACE ${M_DEPS} ${pkg_targets})
    endif()
endfunction()

# dbi_tests(<folder> DEPS targets...)
#
# Every *_test.cpp of tests/<folder> goes into one GoogleTest executable, test_<name>,
# whose cases CTest discovers. Tests run with the source tree and the build tree in
# DBI_SOURCE_DIR and DBI_BINARY_DIR so they can find their fixtures.
# Every *_test.py of the folder is a Python test (oracles, reference encoders), run with Debian's
# interpreter.
function(dbi_tests folder)
    cmake_parse_arguments(T "" "" "DEPS" ${ARGN})
    string(REPLACE "/" "_" name "${folder}")
    file(GLOB py_tests CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/tests/${folder}/*_test.py")
    foreach(py IN LISTS py_tests)
        get_filename_component(py_name "${py}" NAME_WE)
        add_test(NAME py_${name}_${py_name} COMMAND /usr/bin/python3 "${py}")
        set_tests_properties(py_${name}_${py_name} PROPERTIES ENVIRONMENT
            "DBI_SOURCE_DIR=${PROJECT_SOURCE_DIR};DBI_BINARY_DIR=${PROJECT_BINARY_DIR}")
    endforeach()
    file(GLOB sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/tests/${folder}/*.cpp")
    if(NOT sources)
        return()
    endif()
    add_executable(test_${name} ${sources})
    target_link_libraries(test_${name} PRIVATE ${T_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
    target_include_directories(test_${name} PRIVATE "${PROJECT_SOURCE_DIR}" "${PROJECT_SOURCE_DIR}/tests")
    target_compile_definitions(test_${name} PRIVATE
        DBI_SOURCE_DIR="${PROJECT_SOURCE_DIR}" DBI_BINARY_DIR="${PROJECT_BINARY_DIR}")
    gtest_discover_tests(test_${name}
        WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}"
        PROPERTIES ENVIRONMENT "DBI_SOURCE_DIR=${PROJECT_SOURCE_DIR};DBI_BINARY_DIR=${PROJECT_BINARY_DIR}"
        DISCOVERY_TIMEOUT 60)
endfunction()
