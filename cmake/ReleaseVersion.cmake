# The release number is project()'s VERSION; CHANGELOG.md must describe that release as its newest
# entry, so a version raised without its changelog (or the other way round) stops the configure.
file(STRINGS "${CMAKE_SOURCE_DIR}/CHANGELOG.md" lumbra_changelog_releases REGEX "^## \\[[0-9]+\\.[0-9]+\\.[0-9]+\\]")
list(GET lumbra_changelog_releases 0 lumbra_newest_release)
string(REGEX MATCH "[0-9]+\\.[0-9]+\\.[0-9]+" lumbra_newest_release "${lumbra_newest_release}")
if(NOT lumbra_newest_release STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR
        "The project's version is ${PROJECT_VERSION} (project() in CMakeLists.txt) but the newest entry in "
        "CHANGELOG.md is ${lumbra_newest_release}: add the release's entry to CHANGELOG.md, or set the same "
        "version in both.")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/CHANGELOG.md")
