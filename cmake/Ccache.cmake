# Reuse compiled JUCE modules across build folders when ccache is present.
find_program(LUMBRA_CCACHE ccache)
if(LUMBRA_CCACHE)
    set(CMAKE_C_COMPILER_LAUNCHER "${LUMBRA_CCACHE}")
    set(CMAKE_CXX_COMPILER_LAUNCHER "${LUMBRA_CCACHE}")
endif()
