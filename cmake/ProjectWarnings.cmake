# Warnings apply to the project's own sources only; JUCE's module sources share the same targets.
set(LUMBRA_WARNING_FLAGS -Wall -Wextra)

function(lumbra_enable_warnings)
    set_source_files_properties(${ARGN} DIRECTORY "${CMAKE_SOURCE_DIR}"
        PROPERTIES COMPILE_OPTIONS "${LUMBRA_WARNING_FLAGS}")
endfunction()
