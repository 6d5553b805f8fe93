# Options that need one another are checked before anything is configured, so a combination that
# cannot build stops here with the reason instead of failing halfway through the build.
if(LUMBRA_BUILD_TESTS AND NOT LUMBRA_BUILD_TOOLS)
    message(FATAL_ERROR
        "LUMBRA_BUILD_TESTS=ON needs LUMBRA_BUILD_TOOLS=ON: the integration tests drive the command-line "
        "host lumbra-render and link its hosting library (tools/host). Turn the tools on, or the tests off "
        "(-DLUMBRA_BUILD_TESTS=OFF).")
endif()

if(LUMBRA_BUILD_FUZZERS)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang" OR NOT LUMBRA_SANITIZE MATCHES "fuzzer-no-link")
        message(FATAL_ERROR
            "LUMBRA_BUILD_FUZZERS=ON needs clang and LUMBRA_SANITIZE with fuzzer-no-link (libFuzzer), e.g. "
            "CC=clang CXX=clang++ cmake -DLUMBRA_SANITIZE=fuzzer-no-link,address,undefined "
            "-DLUMBRA_BUILD_FUZZERS=ON; scripts/fuzz-state.sh does this.")
    endif()
endif()
