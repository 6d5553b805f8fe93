# The plug-in: juce_add_plugin makes the shared-code library `VelbriLabsLumbra` (JUCE modules plus
# our sources, compiled once) and one small target per format linking it: `VelbriLabsLumbra_VST3`
# (the .vst3 bundle), `VelbriLabsLumbra_LV2` (the .lv2 bundle, its TTL files written after the link
# by JUCE's helper) and `VelbriLabsLumbra_Standalone` (the app "VelbriLabs Lumbra").
juce_add_plugin(VelbriLabsLumbra
    PRODUCT_NAME "VelbriLabs Lumbra"
    PLUGIN_NAME "VelbriLabs Lumbra"
    COMPANY_NAME "velbrilabs"
    COMPANY_WEBSITE "https://velbrilabs.com"
    COMPANY_EMAIL ""
    VERSION ${PROJECT_VERSION}
    PLUGIN_MANUFACTURER_CODE Vlbr
    PLUGIN_CODE Lmb1
    FORMATS VST3 LV2 Standalone
    LV2URI "https://velbrilabs.com/plugins/lumbra"
    IS_SYNTH FALSE
    NEEDS_MIDI_INPUT FALSE
    NEEDS_MIDI_OUTPUT FALSE
    IS_MIDI_EFFECT FALSE
    EDITOR_WANTS_KEYBOARD_FOCUS TRUE
    VST3_CATEGORIES Fx
    COPY_PLUGIN_AFTER_BUILD FALSE)

set(LUMBRA_SOURCES
    plugin/PluginProcessor.cpp
    plugin/ParameterLayout.cpp
    plugin/ParameterHandles.cpp
    plugin/SavedState.cpp
    plugin/StateDocument.cpp
    plugin/TempoSettings.cpp
    plugin/SyncView.cpp
    plugin/PreDelayText.cpp
    plugin/PresetSetting.cpp
    plugin/FactoryPresets.cpp
    plugin/PresetSession.cpp
    plugin/PresetDocument.cpp
    plugin/PresetLoading.cpp
    plugin/EditHistory.cpp
    plugin/AbCompare.cpp
    plugin/VstPresetFile.cpp
    plugin/UserPresetLibrary.cpp
    dsp/BlockDriver.cpp
    dsp/IdleWatch.cpp
    dsp/ShelfBand.cpp
    dsp/ToneStage.cpp
    dsp/DynamicsStage.cpp
    dsp/OversampledDynamics.cpp
    dsp/HalfBandStage.cpp
    dsp/Resampler.cpp
    dsp/LatencyDelay.cpp
    dsp/LineMemory.cpp
    dsp/ReverbKernel.cpp
    dsp/DelayTimeFade.cpp
    dsp/NoteValues.cpp
    dsp/PreDelay.cpp
    dsp/SpaceStage.cpp
    dsp/EchoStage.cpp
    dsp/LevelMeter.cpp
    editor/PluginEditor.cpp
    editor/EditorLayout.cpp
    editor/EditorTempoPanel.cpp
    editor/EditorStageOptions.cpp
    editor/BackgroundCache.cpp
    editor/PresetBar.cpp
    editor/AboutText.cpp
    editor/AboutButton.cpp
    editor/SliderBinding.cpp
    editor/HeaderActions.cpp
    ui/VelbriLookAndFeel.cpp
    ui/VelbriLookAndFeelSliders.cpp
    ui/VelbriLookAndFeelFaceplate.cpp
    ui/VelbriLookAndFeelMeters.cpp
    ui/VelbriLookAndFeelPresetBar.cpp
    ui/VelbriLedButton.cpp
    ui/VelbriLedSwitch.cpp
    ui/VelbriChoiceBox.cpp
    ui/VelbriLedStackSelector.cpp
    ui/VelbriLadderMeter.cpp
    ui/VelbriVuArc.cpp
    ui/VelbriGainReductionMeter.cpp
    ui/VelbriSlider.cpp
    ui/VelbriIconButton.cpp
    ui/VelbriFocusRing.cpp
    editor/EditorKeyboard.cpp)
list(TRANSFORM LUMBRA_SOURCES PREPEND "${CMAKE_SOURCE_DIR}/")

target_sources(VelbriLabsLumbra PRIVATE ${LUMBRA_SOURCES})
lumbra_enable_warnings(${LUMBRA_SOURCES})

target_include_directories(VelbriLabsLumbra PUBLIC "${CMAKE_SOURCE_DIR}")

set(LUMBRA_JUCE_DEFINITIONS
    JUCE_WEB_BROWSER=0
    JUCE_USE_CURL=0
    JUCE_VST3_CAN_REPLACE_VST2=0
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_PLUGINHOST_VST3=1
    JUCE_PLUGINHOST_LADSPA=0
    JUCE_USE_FLAC=0
    JUCE_USE_OGGVORBIS=0
    JUCE_MODAL_LOOPS_PERMITTED=1
    JUCE_PLUGINHOST_LV2=1
    JUCE_ALSA=1
    JUCE_JACK=1
    # Debian's JUCE does not hand LV2URI to the wrapper (it would fall back to the plug-in's name,
    # which is no IRI); the VST3 factory's e-mail stays empty, the LV2 maintainer gets a real one.
    JucePlugin_LV2URI="https://velbrilabs.com/plugins/lumbra"
    JucePlugin_LV2MaintainerEmail="plugins@velbrilabs.com")

target_compile_definitions(VelbriLabsLumbra PUBLIC ${LUMBRA_JUCE_DEFINITIONS})

target_link_libraries(VelbriLabsLumbra
    PRIVATE
        lumbra_resources
        juce::juce_audio_processors
        juce::juce_audio_formats
        juce::juce_dsp
        juce::juce_gui_extra
        juce::juce_audio_utils
        juce::juce_audio_devices
    PUBLIC
        lumbra_system_libs
        juce::juce_recommended_config_flags)

# What the tests, tools and benchmarks link: the compiled library plus JUCE's headers and settings,
# without pulling the JUCE module sources into them a second time.
add_library(lumbra_core INTERFACE)
target_link_libraries(lumbra_core INTERFACE VelbriLabsLumbra)
target_include_directories(lumbra_core INTERFACE
    $<TARGET_PROPERTY:VelbriLabsLumbra,INCLUDE_DIRECTORIES>)
target_compile_definitions(lumbra_core INTERFACE
    $<TARGET_PROPERTY:VelbriLabsLumbra,COMPILE_DEFINITIONS>)

set(LUMBRA_VST3_BUNDLE "$<TARGET_PROPERTY:VelbriLabsLumbra_VST3,JUCE_PLUGIN_ARTEFACT_FILE>")
set(LUMBRA_LV2_BUNDLE "${CMAKE_BINARY_DIR}/VelbriLabsLumbra_artefacts/$<CONFIG>/LV2/VelbriLabs Lumbra.lv2")

# The app uses its own application class (a notice while no audio device is open) around JUCE's
# standalone window; JACK is reached when its server runs, ALSA otherwise.
target_sources(VelbriLabsLumbra_Standalone PRIVATE "${CMAKE_SOURCE_DIR}/standalone/StandaloneApp.cpp")
target_compile_definitions(VelbriLabsLumbra_Standalone PRIVATE JUCE_USE_CUSTOM_PLUGIN_STANDALONE_APP=1)
lumbra_enable_warnings("${CMAKE_SOURCE_DIR}/standalone/StandaloneApp.cpp")
set(LUMBRA_STANDALONE_APP "$<TARGET_FILE:VelbriLabsLumbra_Standalone>")
