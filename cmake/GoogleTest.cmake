# GoogleTest: Debian's own build on Linux; for the Windows builds, from Debian's sources with
# this build's compiler, so the same tests run as Windows programs under Wine.
if(WIN32)
    set(TOLVANE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(${TOLVANE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
    find_package(GTest 1.12 CONFIG REQUIRED)
endif()
