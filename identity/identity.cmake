# The product's identity, written once: its name, version, description, maker, contact
# lines, release date and brand colours. The top-level CMakeLists.txt includes this file
# before its project() call, and generates from it the identity header of the code, the
# Windows resource and manifest, the desktop entry and metainfo, the Debian files, the
# installers' settings, the web page and what the tests expect; a test fails where one
# of these values is written anywhere else. art/render asks it for the icon sizes:
# `cmake -P identity/identity.cmake` prints them.
set(TORNEVO_NAME "Tornevo")
# "1.00" for people, 1.0.0 for packages, 1.0.0.0 for the Windows resource.
set(TORNEVO_VERSION 1.0.0.0)
set(TORNEVO_RELEASE_DATE "2026-12-07")
set(TORNEVO_DESCRIPTION "RCF/RPM conversion for laboratory centrifuges")
set(TORNEVO_HOMEPAGE "https://www.example.com/tornevo")
set(TORNEVO_COMPANY "Company")
set(TORNEVO_APP_ID "com.example.Tornevo")
# The maker's contact lines, as the window shows them.
set(TORNEVO_STREET "1 Example Street")
set(TORNEVO_CITY "Example City 00000")
set(TORNEVO_EMAIL "info@example.com")
set(TORNEVO_WEB_SITE "www.example.com")
# The brand colours: the web app's title bar, and the window's background while it starts.
set(TORNEVO_THEME_COLOUR "#1f3a93")
set(TORNEVO_BACKGROUND_COLOUR "#d4d0c8")
# The desktop's icons (hicolor), drawn for each size.
set(TORNEVO_ICON_SIZES 16 22 24 32 48 64 128 256)
# Of those, the ones the window carries beside its 70 x 72 icon: a title bar's and a task bar's.
set(TORNEVO_WINDOW_ICON_SIZES 16 32)

if(CMAKE_SCRIPT_MODE_FILE)
    string(JOIN " " sizes ${TORNEVO_ICON_SIZES})
    execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${sizes}")
endif()
