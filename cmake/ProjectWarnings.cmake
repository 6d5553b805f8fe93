# Warnings apply to the project's own sources only; JUCE's module sources share the same targets.
set(LUMBRA_WARNING_FLAGS -Wall -Wextra)

# Source properties live in a directory's scope: set them both where the plug-in target is made
# (the top level) and in the calling folder, where its tests, tools or benchmarks are made.
function(lumbra_enable_warnings)
    set(paths)
    foreach(file IN LISTS ARGN)
        get_filename_component(path "${file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
        list(APPEND paths "${path}")
    endforeach()

    set_source_files_properties(${paths} DIRECTORY "${CMAKE_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}"
        PROPERTIES COMPILE_OPTIONS "${LUMBRA_WARNING_FLAGS}")
endfunction()
