# GoogleTest for the unit tests. A native build uses the system's library; a cross build
# compiles it from Debian's sources (the googletest package), since Debian ships no
# MinGW build of it. Every test folder that needs it includes this; it is built once.
if(CMAKE_CROSSCOMPILING)
    if(NOT TARGET GTest::gtest_main)
        set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
        if(WIN32)
            # Our own Notification for MinGW's win32 thread model (see the header).
            foreach(library gtest gtest_main)
                target_include_directories(${library} BEFORE PUBLIC ${CMAKE_CURRENT_LIST_DIR}/googletest)
            endforeach()
            target_sources(gtest PRIVATE ${CMAKE_CURRENT_LIST_DIR}/googletest/notification.cpp)
        endif()
    endif()
else()
    find_package(GTest REQUIRED)
endif()
include(GoogleTest)
