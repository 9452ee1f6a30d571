# sondrix_install_help(<target>)
#
# Keeps a copy of the program's help page, app/help/sondrix.html, beside the target's executable,
# where the Help command looks for it. Call it in the folder that adds the target.
function(sondrix_install_help target)
    get_target_property(folder ${target} RUNTIME_OUTPUT_DIRECTORY)
    if(NOT folder)
        set(folder ${CMAKE_CURRENT_BINARY_DIR})
    endif()
    set(page ${PROJECT_SOURCE_DIR}/app/help/sondrix.html)
    add_custom_command(OUTPUT ${folder}/sondrix.html
                       COMMAND ${CMAKE_COMMAND} -E copy ${page} ${folder}/sondrix.html
                       DEPENDS ${page} VERBATIM)
    add_custom_target(${target}_help DEPENDS ${folder}/sondrix.html)
    add_dependencies(${target} ${target}_help)
endfunction()
