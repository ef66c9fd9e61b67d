enable_language(RC)
set(VELMORA_WIN_DEFS UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
target_compile_definitions(velmora_core PUBLIC ${VELMORA_WIN_DEFS})

# Everything that talks to the platform, shared by the client and the Wine tests.
add_library(velmora_win STATIC)
target_include_directories(velmora_win PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
target_compile_definitions(velmora_win PUBLIC ${VELMORA_WIN_DEFS})
target_compile_options(velmora_win PRIVATE -Wall -Wextra)
target_link_libraries(velmora_win PUBLIC velmora_core
  wininet gdiplus comctl32 ole32 oleaut32 uuid shlwapi msimg32 version advapi32 shell32 user32 gdi32)
set(VELMORA_STATIC_LINK -static -static-libgcc -static-libstdc++ -municode)
target_link_options(velmora_win PUBLIC ${VELMORA_STATIC_LINK})
