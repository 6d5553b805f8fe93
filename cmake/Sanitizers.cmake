# LUMBRA_SANITIZE takes a comma-separated list for -fsanitize (e.g. "address,undefined" or
# "thread"); it applies to everything in the build, JUCE included, so the runtime sees all code.
set(LUMBRA_SANITIZE "" CACHE STRING "Sanitizers to build with (passed to -fsanitize)")
if(LUMBRA_SANITIZE)
    add_compile_options(-fsanitize=${LUMBRA_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${LUMBRA_SANITIZE})
endif()
