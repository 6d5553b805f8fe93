# The wrapper patches were made against one JUCE release. Debian's module folder carries no version
# in its path, so the version is read from the modules themselves (and from JUCE's CMake package,
# when found); another release is refused rather than patched blindly.
set(LUMBRA_PATCHED_JUCE_VERSION "7.0.5")

# lumbra_require_juce_version(MODULES_DIR OUT_VAR): stops the configure unless the JUCE in
# MODULES_DIR is the release the patches were made for; sets OUT_VAR to the version read.
function(lumbra_require_juce_version modules_dir out_var)
    set(header "${modules_dir}/juce_core/system/juce_StandardHeader.h")
    if(NOT EXISTS "${header}")
        message(FATAL_ERROR "No JUCE modules in ${modules_dir} (juce_core/system/juce_StandardHeader.h is missing).")
    endif()
    file(STRINGS "${header}" lines REGEX "^#define JUCE_(MAJOR_VERSION|MINOR_VERSION|BUILDNUMBER) +[0-9]+")
    set(found "")
    foreach(part IN ITEMS MAJOR_VERSION MINOR_VERSION BUILDNUMBER)
        string(REGEX MATCH "JUCE_${part} +([0-9]+)" match "${lines}")
        list(APPEND found "${CMAKE_MATCH_1}")
    endforeach()
    list(JOIN found "." found)
    if(NOT found STREQUAL LUMBRA_PATCHED_JUCE_VERSION
       OR (DEFINED JUCE_VERSION AND NOT JUCE_VERSION STREQUAL "" AND NOT JUCE_VERSION STREQUAL LUMBRA_PATCHED_JUCE_VERSION))
        set(package_says "")
        if(DEFINED JUCE_VERSION AND NOT JUCE_VERSION STREQUAL "")
            set(package_says " (JUCE's CMake package says ${JUCE_VERSION})")
        endif()
        message(FATAL_ERROR
            "JUCE ${found} found in ${modules_dir}${package_says}, but the "
            "wrapper patches in cmake/patches were made for JUCE ${LUMBRA_PATCHED_JUCE_VERSION}. Install "
            "juce-modules-source ${LUMBRA_PATCHED_JUCE_VERSION}, or port the patches to this JUCE and raise "
            "LUMBRA_PATCHED_JUCE_VERSION in cmake/JuceVersion.cmake.")
    endif()
    set(${out_var} "${found}" PARENT_SCOPE)
endfunction()
