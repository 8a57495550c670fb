# The product's identity, written once. The top-level CMakeLists.txt includes this file
# (the version is its project() call) and generates from it the version header, the
# Windows resource and manifest, the desktop entry and metainfo, the Debian files, the
# installers' settings and what the tests expect. art/render asks it for the icon
# sizes: `cmake -P identity/identity.cmake` prints them.
set(TORNEVO_COMPANY "Company")
set(TORNEVO_CONTACT "tornevo@example.com")
set(TORNEVO_APP_ID "com.example.Tornevo")
# The desktop's icons (hicolor), drawn for each size.
set(TORNEVO_ICON_SIZES 16 22 24 32 48 64 128 256)
# Of those, the ones the window carries beside its 70 x 72 icon: a title bar's and a task bar's.
set(TORNEVO_WINDOW_ICON_SIZES 16 32)

if(CMAKE_SCRIPT_MODE_FILE)
    string(JOIN " " sizes ${TORNEVO_ICON_SIZES})
    execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${sizes}")
endif()
