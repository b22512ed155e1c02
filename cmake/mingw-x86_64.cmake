# Cross build of the same sources as 64-bit PE, for test machines whose kernel cannot run
# 32-bit code (there wine32 cannot start; wine64 runs this build instead).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(PV_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
