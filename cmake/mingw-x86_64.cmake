# 64-bit Windows: the test client only, for machines whose kernel runs no
# 32-bit code (and so that the code never stops building for 64 bits).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VELMORA_MINGW_TRIPLET x86_64-w64-mingw32)
set(VELMORA_WINE_ARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
