set(CMAKE_C_COMPILER ${PV_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PV_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${PV_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${PV_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The posix thread model: GoogleTest needs std::mutex, which the win32 model lacks.
# Tests run under Wine; the bench script sets PV_WINE to the loader that fits this build.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
