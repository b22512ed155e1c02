# Thread model: win32 for the product (no winpthreads inside SETUP.EXE, which keeps it
# small), posix for the test build (GoogleTest needs std::mutex, which win32 lacks here).
set(PV_THREAD_MODEL win32 CACHE STRING "MinGW thread model: win32 (product) or posix (tests)")
set(CMAKE_C_COMPILER ${PV_MINGW_PREFIX}-gcc-${PV_THREAD_MODEL})
set(CMAKE_CXX_COMPILER ${PV_MINGW_PREFIX}-g++-${PV_THREAD_MODEL})
set(CMAKE_RC_COMPILER ${PV_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${PV_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests run under Wine; the bench script sets PV_WINE to the loader that fits this build.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
