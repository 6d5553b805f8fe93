# The Debian package velbrilabs-lumbra_<version>_<arch>.deb, made by CPack from this Release build
# (scripts/package.sh): the same bundles the tests load, with no second build. System-wide places
# every host looks: /usr/lib/vst3, /usr/lib/lv2, the app and lumbra-render in /usr/bin.
if(NOT LUMBRA_BUILD_TOOLS)
    message(STATUS "Debian package not offered: it carries lumbra-render (LUMBRA_BUILD_TOOLS=OFF)")
    return()
endif()

set(LUMBRA_PACKAGE_NAME velbrilabs-lumbra)
set(LUMBRA_PACKAGE_MAINTAINER "VelbriLabs <plugins@velbrilabs.com>")
set(lumbra_artefacts "${CMAKE_BINARY_DIR}/VelbriLabsLumbra_artefacts/Release")
set(lumbra_package_files "${CMAKE_BINARY_DIR}/packaging")
set(lumbra_doc_dir "share/doc/${LUMBRA_PACKAGE_NAME}")

# What the package carries beside the binaries, made at build time: the man pages (stamped with the
# version), the Debian changelog from CHANGELOG.md, the machine-readable copyright with the
# typefaces' licence, and the app's icon.
file(READ "${CMAKE_SOURCE_DIR}/resources/fonts/OFL-ChakraPetch.txt" lumbra_ofl)
string(REGEX REPLACE "^[^\n]*\n\n" "" lumbra_ofl "${lumbra_ofl}")     # its copyright line is above
string(REGEX REPLACE "[ \t\r]+\n" "\n" lumbra_ofl "${lumbra_ofl}")
string(STRIP "${lumbra_ofl}" lumbra_ofl)
string(REPLACE "\n" "\n " lumbra_ofl "${lumbra_ofl}")
string(REPLACE "\n \n" "\n .\n" lumbra_ofl "${lumbra_ofl}")
string(REPLACE "\n \n" "\n .\n" lumbra_ofl "${lumbra_ofl}")
file(READ "${CMAKE_SOURCE_DIR}/packaging/copyright.in" lumbra_copyright)
file(WRITE "${lumbra_package_files}/copyright" "${lumbra_copyright}\nLicense: OFL-1.1\n ${lumbra_ofl}\n")

foreach(page IN ITEMS lumbra-render velbrilabs-lumbra)
    set(VERSION "${PROJECT_VERSION}")
    configure_file("${CMAKE_SOURCE_DIR}/resources/man/${page}.1" "${lumbra_package_files}/${page}.1" @ONLY)
endforeach()

find_program(LUMBRA_GZIP gzip REQUIRED)
find_program(LUMBRA_PYTHON3 NAMES python3 REQUIRED)
add_custom_command(
    OUTPUT "${lumbra_package_files}/lumbra-render.1.gz" "${lumbra_package_files}/velbrilabs-lumbra.1.gz"
           "${lumbra_package_files}/changelog.gz" "${lumbra_package_files}/velbrilabs-lumbra.png"
    COMMAND "${LUMBRA_GZIP}" -9nf -k lumbra-render.1 velbrilabs-lumbra.1
    COMMAND "${LUMBRA_PYTHON3}" "${CMAKE_SOURCE_DIR}/packaging/debian-changelog.py" "${CMAKE_SOURCE_DIR}/CHANGELOG.md"
            "${LUMBRA_PACKAGE_NAME}" "${LUMBRA_PACKAGE_MAINTAINER}" changelog
    COMMAND "${LUMBRA_GZIP}" -9nf changelog
    COMMAND "${CMAKE_SOURCE_DIR}/scripts/make-app-icon.sh" "${CMAKE_SOURCE_DIR}/resources/images/dog.png"
            velbrilabs-lumbra.png
    # gzip gives each .gz its source's time, to the second: touched, they count as newer.
    COMMAND "${CMAKE_COMMAND}" -E touch lumbra-render.1.gz velbrilabs-lumbra.1.gz changelog.gz
    DEPENDS "${lumbra_package_files}/lumbra-render.1" "${lumbra_package_files}/velbrilabs-lumbra.1"
            "${CMAKE_SOURCE_DIR}/CHANGELOG.md" "${CMAKE_SOURCE_DIR}/packaging/debian-changelog.py"
            "${CMAKE_SOURCE_DIR}/resources/images/dog.png"
    WORKING_DIRECTORY "${lumbra_package_files}"
    VERBATIM)
add_custom_target(lumbra_package_files ALL
    DEPENDS "${lumbra_package_files}/lumbra-render.1.gz" "${lumbra_package_files}/changelog.gz"
            "${lumbra_package_files}/velbrilabs-lumbra.png")

install(DIRECTORY "${lumbra_artefacts}/VST3/VelbriLabs Lumbra.vst3" DESTINATION lib/vst3 USE_SOURCE_PERMISSIONS)
install(DIRECTORY "${lumbra_artefacts}/LV2/VelbriLabs Lumbra.lv2" DESTINATION lib/lv2 USE_SOURCE_PERMISSIONS)
install(PROGRAMS "${lumbra_artefacts}/Standalone/VelbriLabs Lumbra" DESTINATION bin RENAME velbrilabs-lumbra)
install(TARGETS lumbra-render RUNTIME DESTINATION bin)
install(FILES "${CMAKE_SOURCE_DIR}/resources/velbrilabs-lumbra.desktop" DESTINATION share/applications)
install(FILES "${lumbra_package_files}/velbrilabs-lumbra.png" DESTINATION share/icons/hicolor/256x256/apps)
install(FILES "${lumbra_package_files}/lumbra-render.1.gz" "${lumbra_package_files}/velbrilabs-lumbra.1.gz"
        DESTINATION share/man/man1)
install(FILES "${lumbra_package_files}/copyright" "${lumbra_package_files}/changelog.gz" DESTINATION "${lumbra_doc_dir}")

# Debian ships binaries stripped of their symbols (as dh_strip does); the code is unchanged, so the
# package's bundles null against the build's own.
install(CODE [[
    set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
    file(GLOB_RECURSE modules "${root}/lib/vst3/*.so" "${root}/lib/lv2/*.so")
    foreach(binary IN LISTS modules)
        execute_process(COMMAND strip --remove-section=.comment --remove-section=.note --strip-unneeded "${binary}"
                        COMMAND_ERROR_IS_FATAL ANY)
        # Loaded by hosts, never run: no execute bit (Debian's habit for shared objects).
        file(CHMOD "${binary}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    endforeach()
    foreach(binary IN ITEMS "${root}/bin/velbrilabs-lumbra" "${root}/bin/lumbra-render")
        execute_process(COMMAND strip --remove-section=.comment --remove-section=.note "${binary}"
                        COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
]])

# Installing builds only what is installed (scripts/package.sh names those targets), not the tests.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE lumbra_deb_arch OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE lumbra_dpkg_result)
if(NOT lumbra_dpkg_result EQUAL 0)
    set(lumbra_deb_arch amd64)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME "${LUMBRA_PACKAGE_NAME}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "VelbriLabs")
set(CPACK_PACKAGE_CONTACT "${LUMBRA_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}/package")
set(CPACK_DEBIAN_FILE_NAME "${LUMBRA_PACKAGE_NAME}_${PROJECT_VERSION}_${lumbra_deb_arch}.deb")
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE "${lumbra_deb_arch}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${LUMBRA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://velbrilabs.com/plugins/lumbra")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"channel strip plug-in for mixing (VST3, LV2, standalone)
VelbriLabs Lumbra is a channel strip: input trim, a two-band shelving EQ with
three characters per band, a one-knob compressor with optional oversampling,
two reverb spaces with pre-delay, a tempo-locked feedback echo, a blend for
the returns, output trim, bypass and meters, in a resizable window.
.
This package installs the VST3 plug-in in /usr/lib/vst3, the LV2 plug-in in
/usr/lib/lv2, the standalone app velbrilabs-lumbra (JACK or ALSA) with its
menu entry, and lumbra-render, a command-line host that renders audio files
through either plug-in.")
include(CPack)
