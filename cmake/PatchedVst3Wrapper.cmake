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

include(PatchedClientCopy)
lumbra_patch_client_copy("${JUCE_MODULES_DIR}" "${CMAKE_BINARY_DIR}/juce-patched" lumbra_pristine_client_files
                         ${LUMBRA_WRAPPER_PATCHES})
# An upgrade of JUCE in place (a changed pristine file or version header) reconfigures the next build.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${lumbra_pristine_client_files})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${LUMBRA_WRAPPER_PATCHES})
# Each format target compiles its wrapper from the patched copy.
foreach(format IN ITEMS VST3 LV2)
    set_property(TARGET juce_audio_plugin_client_${format} PROPERTY
        INTERFACE_SOURCES "${LUMBRA_PATCHED_CLIENT}/juce_audio_plugin_client_${format}.cpp")
endforeach()
