# SPDX-License-Identifier: Apache-2.0
# Installing and packaging. The program and its picture library stay side by side in
# <prefix>/lib/lautgarten, as the game expects; <prefix>/bin holds relative links to the two
# commands, so a moved prefix keeps working.
set(LAUTGARTEN_APP_ID de.lautgarten.lautgarten)
set(LAUTGARTEN_PROGRAM_DIR lib/lautgarten)

install(TARGETS lautgarten lautgarten-pruefen RUNTIME DESTINATION ${LAUTGARTEN_PROGRAM_DIR})
# The speech's audio, loaded from the folder audio beside the program once its first window is
# up. A folder of its own, not beside the program: a library directly in a folder of /usr/lib
# has CPack call ldconfig in the package's scripts, which a private module must not.
if(TARGET lautgarten-audio)
    install(TARGETS lautgarten-audio LIBRARY DESTINATION ${LAUTGARTEN_PROGRAM_DIR}/audio)
endif()
install(DIRECTORY images/ DESTINATION ${LAUTGARTEN_PROGRAM_DIR}/images)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/bin-links)
foreach(command lautgarten lautgarten-pruefen)
    file(CREATE_LINK ../${LAUTGARTEN_PROGRAM_DIR}/${command}
         ${CMAKE_BINARY_DIR}/bin-links/${command} SYMBOLIC)
    install(FILES ${CMAKE_BINARY_DIR}/bin-links/${command} DESTINATION bin)
endforeach()

install(FILES resources/${LAUTGARTEN_APP_ID}.desktop DESTINATION share/applications)
configure_file(resources/${LAUTGARTEN_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/${LAUTGARTEN_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${LAUTGARTEN_APP_ID}.metainfo.xml DESTINATION share/metainfo)
foreach(size 16 32 48 64 128 256)
    install(FILES resources/pictures/icon-${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps
            RENAME ${LAUTGARTEN_APP_ID}.png)
endforeach()
install(FILES resources/pictures/icon.svg DESTINATION share/icons/hicolor/scalable/apps
        RENAME ${LAUTGARTEN_APP_ID}.svg)

# Manual pages, German and English, and the package's changelog and copyright; compressed as
# Debian wants them (gzip -9n: best compression, no name or time stamp). They change only with
# their sources, so they are made when CMake runs, which a changed source triggers.
if(NOT WIN32)
    find_program(LAUTGARTEN_GZIP gzip REQUIRED)
    function(lautgarten_gzip source target)
        execute_process(COMMAND ${LAUTGARTEN_GZIP} -9n -c ${source} OUTPUT_FILE ${target}
                        RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "gzip ${source} failed")
        endif()
    endfunction()

    foreach(page lautgarten.6 lautgarten-pruefen.1)
        string(REGEX MATCH "[0-9]$" section ${page})
        foreach(language en de)
            if(language STREQUAL en)
                set(source man/${page}.in)
                set(destination share/man/man${section})
            else()
                set(source man/${language}/${page}.in)
                set(destination share/man/${language}/man${section})
            endif()
            set(built ${CMAKE_BINARY_DIR}/man/${language}/${page})
            configure_file(${source} ${built} @ONLY)
            lautgarten_gzip(${built} ${built}.gz)
            install(FILES ${built}.gz DESTINATION ${destination})
        endforeach()
    endforeach()

    # The changelog's newest entry has to be this version's.
    set(LAUTGARTEN_CHANGELOG ${PROJECT_SOURCE_DIR}/packaging/changelog)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${LAUTGARTEN_CHANGELOG})
    file(STRINGS ${LAUTGARTEN_CHANGELOG} newest LIMIT_COUNT 1)
    set(package_version
        ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
    if(NOT newest MATCHES "^lautgarten \\(${package_version}\\) ")
        message(FATAL_ERROR "packaging/changelog begins with \"${newest}\"; "
                            "version ${package_version} needs an entry at its top.")
    endif()
    lautgarten_gzip(${LAUTGARTEN_CHANGELOG} ${CMAKE_BINARY_DIR}/changelog.gz)
    install(FILES ${CMAKE_BINARY_DIR}/changelog.gz packaging/copyright
            DESTINATION share/doc/lautgarten)
endif()

# The Debian package: scripts/package builds it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lautgarten)
set(CPACK_PACKAGE_VERSION
    ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
set(CPACK_PACKAGE_CONTACT "Lautgarten <lautgarten@lautgarten.de>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Lernspiel für Anfangsbuchstaben")
# Lines of the extended description, each at most 80 characters.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Lautgarten ist ein kleines Lernspiel für Kinder von vier bis sechs Jahren,"
    "die Anfangsbuchstaben üben: Eine Seite zeigt einen Buchstaben und drei"
    "Bilder, nur ein Ding beginnt mit diesem Buchstaben. Ein lachendes oder"
    "weinendes Gesicht antwortet. Das Spiel spricht: den Laut jedes Buchstabens"
    "und das Wort jedes Bildes."
    ""
    "Eigene Bilder kommen in die Bildersammlung in /usr/lib/lautgarten/images;"
    "lautgarten-pruefen prüft sie.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A learning game for schools, filed where its desktop entry puts it (Education), like
# gcompris-qt. Under games both commands would belong in /usr/games (Debian policy 11.11),
# which neither root's nor sudo's PATH holds, though lautgarten-pruefen is the admins' tool;
# left in /usr/bin beside a game it draws a lintian warning.
set(CPACK_DEBIAN_PACKAGE_SECTION education)
# No debug symbols in the package: strip the binaries.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://lautgarten.de/)
# The Qt libraries and the C++ run-time come from the binaries themselves; the designed faces'
# substitutes are only named by the windows, so they are listed here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-dejavu-core, fonts-liberation2, fonts-comic-neue, fonts-yanone-kaffeesatz")
# The speech plays through Qt Multimedia (its library comes from the audio module, above) to a
# sound server; without one the game stays silent.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pipewire-pulse | pulseaudio")
include(CPack)
