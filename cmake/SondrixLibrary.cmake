# sondrix_library(<target> [DEPS <targets...>])
#
# Builds the library of the calling folder from every source file in it. A folder whose code is
# all inline (headers only) becomes an interface library.
function(sondrix_library target)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(sources)
        add_library(${target} STATIC ${sources} ${headers})
        target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
        target_link_libraries(${target} PUBLIC ${ARG_DEPS})
    else()
        add_library(${target} INTERFACE)
        target_include_directories(${target} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
        target_link_libraries(${target} INTERFACE ${ARG_DEPS})
    endif()
endfunction()

# sondrix_tests(<folder library> <test main target>)
#
# One GoogleTest program per test folder, made of every *Test.cpp in it, registered with ctest.
function(sondrix_tests library main)
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(NOT sources)
        return()
    endif()
    set(target ${folder}_tests)
    add_executable(${target} ${sources})
    target_link_libraries(${target} PRIVATE ${library} ${main} test_support GTest::gtest GTest::gmock)
    gtest_discover_tests(${target}
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SONDRIX_AUDIO=null;SONDRIX_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
                   TIMEOUT 300)
endfunction()
