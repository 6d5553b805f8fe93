# Debian's JUCE strips its bundled third-party code: images and compression come from the system.
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(ZLIB REQUIRED)

add_library(lumbra_system_libs INTERFACE)
target_link_libraries(lumbra_system_libs INTERFACE PNG::PNG JPEG::JPEG ZLIB::ZLIB)
