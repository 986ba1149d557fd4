# SPDX-License-Identifier: Apache-2.0
# What the Windows build needs of its own; scripts/build-windows cross-builds with it and packs
# the zip. The game is a windowed program named Lautgarten.exe with its icon and version record
# (app/CMakeLists.txt); the checker stays a console program, with the icon.
set_target_properties(lautgarten PROPERTIES WIN32_EXECUTABLE ON OUTPUT_NAME Lautgarten)

file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/lautgarten-pruefen.rc
     CONTENT "IDI_ICON1 ICON \"${PROJECT_SOURCE_DIR}/resources/pictures/lautgarten.ico\"\n")
target_sources(lautgarten-pruefen PRIVATE ${CMAKE_BINARY_DIR}/lautgarten-pruefen.rc)

# Qt is linked statically: the checker draws nothing, but loading pictures needs a graphical
# application, which it runs on the offscreen platform (the windows platform comes by default).
qt_import_plugins(lautgarten-pruefen INCLUDE Qt6::QOffscreenIntegrationPlugin)

# scripts/build-windows names the zip and the Liesmich with the version as the program shows it.
file(WRITE ${CMAKE_BINARY_DIR}/display-version.txt "${LAUTGARTEN_DISPLAY_VERSION}")
