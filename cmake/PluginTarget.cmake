# The plug-in: juce_add_plugin makes the shared-code library `VelbriLabsLumbra` (JUCE modules plus
# our sources, compiled once) and the module target `VelbriLabsLumbra_VST3`.
juce_add_plugin(VelbriLabsLumbra
    PRODUCT_NAME "VelbriLabs Lumbra"
    PLUGIN_NAME "VelbriLabs Lumbra"
    COMPANY_NAME "velbrilabs"
    COMPANY_WEBSITE "https://velbrilabs.com"
    COMPANY_EMAIL ""
    VERSION 0.0.1
    PLUGIN_MANUFACTURER_CODE Vlbr
    PLUGIN_CODE Lmb1
    FORMATS VST3
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
    dsp/BlockDriver.cpp
    dsp/ToneStage.cpp
    dsp/DynamicsStage.cpp
    dsp/GainReduction.cpp
    dsp/SpaceStage.cpp
    dsp/EchoStage.cpp
    dsp/LevelMeter.cpp
    editor/PluginEditor.cpp
    editor/EditorLayout.cpp
    editor/EditorTempoPanel.cpp
    editor/BackgroundCache.cpp
    ui/VelbriLookAndFeel.cpp
    ui/VelbriLookAndFeelSliders.cpp
    ui/VelbriLookAndFeelFaceplate.cpp
    ui/VelbriLookAndFeelMeters.cpp
    ui/VelbriLedButton.cpp
    ui/VelbriLedStackSelector.cpp
    ui/VelbriLadderMeter.cpp
    ui/VelbriVuArc.cpp
    ui/VelbriGainReductionMeter.cpp)
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
    JUCE_MODAL_LOOPS_PERMITTED=1)

target_compile_definitions(VelbriLabsLumbra PUBLIC ${LUMBRA_JUCE_DEFINITIONS})

target_link_libraries(VelbriLabsLumbra
    PRIVATE
        lumbra_resources
        juce::juce_audio_processors
        juce::juce_audio_formats
        juce::juce_dsp
        juce::juce_gui_extra
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
