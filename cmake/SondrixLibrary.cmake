# sondrix_library(<target> [DEPS <targets...>] [FAMILIES <sub-folders...>])
#
# Builds the library of the calling folder from every source file in it and in the sub-folders
# named as FAMILIES (a large library groups its files by family); each of those folders is on the
# include path, so a header is included by its name alone. A folder whose code is all inline
# (headers only) becomes an interface library.
function(sondrix_library target)
    cmake_parse_arguments(ARG "" "" "DEPS;FAMILIES" ${ARGN})
    set(folders ${CMAKE_CURRENT_SOURCE_DIR})
    foreach(family IN LISTS ARG_FAMILIES)
        list(APPEND folders ${CMAKE_CURRENT_SOURCE_DIR}/${family})
    endforeach()
    set(sources "")
    set(headers "")
    foreach(folder IN LISTS folders)
        file(GLOB folder_sources CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.c)
        file(GLOB folder_headers CONFIGURE_DEPENDS ${folder}/*.h)
        list(APPEND sources ${folder_sources})
        list(APPEND headers ${folder_headers})
    endforeach()
    if(sources)
        add_library(${target} STATIC ${sources} ${headers})
        target_include_directories(${target} PUBLIC ${folders})
        target_link_libraries(${target} PUBLIC ${ARG_DEPS})
    else()
        add_library(${target} INTERFACE)
        target_include_directories(${target} INTERFACE ${folders})
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
