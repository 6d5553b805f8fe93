# The VST3 module and the LV2 bundle are built from a copy of Debian's juce_audio_plugin_client with
# small patches to JUCE 7.0.5's wrappers applied in order; every other line is as Debian ships it.
# - state bounds: the wrapper trusts the private-data size stored at the end of a saved state, so a
#   damaged project makes it read outside the block and crash the host.
# - stepped values: the controller keeps and reports whatever value a host sent a switch or a
#   choice, a value between the steps the parameter never takes.
# - LV2 control ports: the LV2 wrapper publishes every parameter as a control input port (JUCE's own
#   patch parameters reach only hosts that speak LV2 patch messages), names a real maintainer e-mail,
#   and refuses stored state text whose length prefix the text cannot hold.
set(LUMBRA_WRAPPER_PATCHES
    "${CMAKE_SOURCE_DIR}/cmake/patches/juce-vst3-state-bounds.patch"
    "${CMAKE_SOURCE_DIR}/cmake/patches/juce-vst3-stepped-values.patch"
    "${CMAKE_SOURCE_DIR}/cmake/patches/juce-lv2-control-ports.patch")
set(LUMBRA_PATCHED_CLIENT "${CMAKE_BINARY_DIR}/juce-patched/juce_audio_plugin_client")
set(LUMBRA_PATCH_STAMP "${LUMBRA_PATCHED_CLIENT}/.patched")

# The stamp records which patches made the copy: any change to the list or to a patch redoes it.
set(lumbra_patch_digest "${JUCE_MODULES_DIR}")
foreach(patch_file IN LISTS LUMBRA_WRAPPER_PATCHES)
    file(SHA256 "${patch_file}" patch_hash)
    string(APPEND lumbra_patch_digest " ${patch_hash}")
endforeach()
set(lumbra_applied_digest "")
if(EXISTS "${LUMBRA_PATCH_STAMP}")
    file(READ "${LUMBRA_PATCH_STAMP}" lumbra_applied_digest)
endif()

if(NOT lumbra_applied_digest STREQUAL lumbra_patch_digest)
    find_program(LUMBRA_PATCH_TOOL patch REQUIRED)
    file(REMOVE_RECURSE "${LUMBRA_PATCHED_CLIENT}")
    file(COPY "${JUCE_MODULES_DIR}/juce_audio_plugin_client" DESTINATION "${CMAKE_BINARY_DIR}/juce-patched")
    foreach(patch_file IN LISTS LUMBRA_WRAPPER_PATCHES)
        execute_process(
            COMMAND "${LUMBRA_PATCH_TOOL}" -p1 --forward --silent --input "${patch_file}"
            WORKING_DIRECTORY "${LUMBRA_PATCHED_CLIENT}"
            RESULT_VARIABLE patch_result)
        if(NOT patch_result EQUAL 0)
            message(FATAL_ERROR "The wrapper patch ${patch_file} does not apply to ${JUCE_MODULES_DIR}")
        endif()
    endforeach()
    file(WRITE "${LUMBRA_PATCH_STAMP}" "${lumbra_patch_digest}")
endif()

set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${LUMBRA_WRAPPER_PATCHES})
# Each format target compiles its wrapper from the patched copy.
foreach(format IN ITEMS VST3 LV2)
    set_property(TARGET juce_audio_plugin_client_${format} PROPERTY
        INTERFACE_SOURCES "${LUMBRA_PATCHED_CLIENT}/juce_audio_plugin_client_${format}.cpp")
endforeach()
