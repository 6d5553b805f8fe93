# JUCE 7.0.5's VST3 wrapper trusts the private-data size stored at the end of a saved state: a
# damaged project makes it read outside the block and crash the host. The module is built from a
# copy of Debian's juce_audio_plugin_client with a small bounds-checking patch applied; every other
# line is as Debian ships it.
set(LUMBRA_WRAPPER_PATCH "${CMAKE_SOURCE_DIR}/cmake/patches/juce-vst3-state-bounds.patch")
set(LUMBRA_PATCHED_CLIENT "${CMAKE_BINARY_DIR}/juce-patched/juce_audio_plugin_client")
set(LUMBRA_PATCH_STAMP "${LUMBRA_PATCHED_CLIENT}/.patched")

if(NOT EXISTS "${LUMBRA_PATCH_STAMP}" OR "${LUMBRA_WRAPPER_PATCH}" IS_NEWER_THAN "${LUMBRA_PATCH_STAMP}")
    find_program(LUMBRA_PATCH_TOOL patch REQUIRED)
    file(REMOVE_RECURSE "${LUMBRA_PATCHED_CLIENT}")
    file(COPY "${JUCE_MODULES_DIR}/juce_audio_plugin_client" DESTINATION "${CMAKE_BINARY_DIR}/juce-patched")
    execute_process(
        COMMAND "${LUMBRA_PATCH_TOOL}" -p1 --forward --silent --input "${LUMBRA_WRAPPER_PATCH}"
        WORKING_DIRECTORY "${LUMBRA_PATCHED_CLIENT}"
        RESULT_VARIABLE patch_result)
    if(NOT patch_result EQUAL 0)
        message(FATAL_ERROR "The VST3 wrapper patch does not apply to ${JUCE_MODULES_DIR}")
    endif()
    file(TOUCH "${LUMBRA_PATCH_STAMP}")
endif()

set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${LUMBRA_WRAPPER_PATCH}")
set_property(TARGET juce_audio_plugin_client_VST3 PROPERTY
    INTERFACE_SOURCES "${LUMBRA_PATCHED_CLIENT}/juce_audio_plugin_client_VST3.cpp")
