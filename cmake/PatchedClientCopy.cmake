include(JuceVersion)

# lumbra_patch_client_copy(MODULES_DIR DESTINATION OUT_FILES PATCH...)
# Copies MODULES_DIR/juce_audio_plugin_client into DESTINATION and applies the patches in order,
# unless the copy there was already made from the same inputs. The stamp DESTINATION/
# juce_audio_plugin_client/.patched records them: JUCE's version (read from the modules; another
# release than the patches were made for stops the configure), a hash of every pristine file of
# the wrapper module and of each patch. Any change among them redoes the copy. OUT_FILES receives
# the pristine files and the version header, for the caller's configure dependencies.
function(lumbra_patch_client_copy modules_dir destination out_files)
    set(patches ${ARGN})
    set(client "${destination}/juce_audio_plugin_client")
    set(stamp "${client}/.patched")
    lumbra_require_juce_version("${modules_dir}" juce_version)

    file(GLOB_RECURSE pristine_files LIST_DIRECTORIES false "${modules_dir}/juce_audio_plugin_client/*")
    list(SORT pristine_files)
    set(digest "JUCE ${juce_version} from ${modules_dir}\n")
    foreach(pristine_file IN LISTS pristine_files)
        file(SHA256 "${pristine_file}" pristine_hash)
        file(RELATIVE_PATH pristine_name "${modules_dir}" "${pristine_file}")
        string(APPEND digest "${pristine_hash} ${pristine_name}\n")
    endforeach()
    foreach(patch_file IN LISTS patches)
        file(SHA256 "${patch_file}" patch_hash)
        get_filename_component(patch_name "${patch_file}" NAME)
        string(APPEND digest "${patch_hash} patch ${patch_name}\n")
    endforeach()

    set(applied "")
    if(EXISTS "${stamp}")
        file(READ "${stamp}" applied)
    endif()
    if(NOT applied STREQUAL digest)
        find_program(LUMBRA_PATCH_TOOL patch REQUIRED)
        file(REMOVE_RECURSE "${client}")
        file(COPY "${modules_dir}/juce_audio_plugin_client" DESTINATION "${destination}")
        foreach(patch_file IN LISTS patches)
            execute_process(
                COMMAND "${LUMBRA_PATCH_TOOL}" -p1 --forward --silent --input "${patch_file}"
                WORKING_DIRECTORY "${client}"
                RESULT_VARIABLE patch_result)
            if(NOT patch_result EQUAL 0)
                message(FATAL_ERROR "The wrapper patch ${patch_file} does not apply to ${modules_dir}")
            endif()
        endforeach()
        file(WRITE "${stamp}" "${digest}")
        message(STATUS "Wrapper copy made from JUCE ${juce_version} in ${modules_dir}")
    endif()

    set(${out_files} ${pristine_files} "${modules_dir}/juce_core/system/juce_StandardHeader.h" PARENT_SCOPE)
endfunction()
