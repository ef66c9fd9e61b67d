enable_language(RC)
set(VELMORA_WIN_DEFS UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
target_compile_definitions(velmora_core PUBLIC ${VELMORA_WIN_DEFS})

# Everything that talks to the platform, shared by the client and the Wine tests.
add_library(velmora_win STATIC)
target_include_directories(velmora_win PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
target_compile_definitions(velmora_win PUBLIC ${VELMORA_WIN_DEFS})
target_compile_options(velmora_win PRIVATE -Wall -Wextra)
# Each function and datum in a section of its own, so that the release client's
# link can drop what nothing reaches (app/CMakeLists.txt).
target_compile_options(velmora_core PRIVATE -ffunction-sections -fdata-sections)
target_compile_options(velmora_win PRIVATE -ffunction-sections -fdata-sections)
target_link_libraries(velmora_win PUBLIC velmora_core
  wininet gdiplus ole32 oleaut32 uuid version advapi32 user32 gdi32)
set(VELMORA_STATIC_LINK -static -static-libgcc -static-libstdc++ -municode)
target_link_options(velmora_win PUBLIC ${VELMORA_STATIC_LINK})

# The manifests name the architecture the executables are built for.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VELMORA_MANIFEST_ARCH amd64)
  set(velmora_entry_symbol VelmoraEntry)
else()
  set(VELMORA_MANIFEST_ARCH x86)
  set(velmora_entry_symbol _VelmoraEntry)
endif()

# The program starts in win/SystemDllsEntry.cpp, which limits library loading
# to the system folder before the C runtime runs.
function(velmora_system_dlls_entry target)
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/win/SystemDllsEntry.cpp)
  target_link_options(${target} PRIVATE -Wl,-e,${velmora_entry_symbol})
endfunction()

# With VELMORA_SIGN_PFX set, the executable is Authenticode-signed as soon as it
# is linked (so the updater is signed before the client embeds it).
function(velmora_sign target)
  if(VELMORA_SIGN_PFX)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_SOURCE_DIR}/tools/sign-code ${VELMORA_SIGN_PFX} $<TARGET_FILE:${target}>
      VERBATIM)
  endif()
endfunction()

# The test builds keep their debugging information in a file beside each
# executable (NAME.exe.debug, named by the executable's debug link, where gdb
# and Wine's debugger find it): under Wine a client carrying its 14 MB of
# debugging information took some 55 ms longer to start than the same client
# without it.
function(velmora_split_debug target)
  if(CMAKE_BUILD_TYPE STREQUAL "RelWithDebInfo")
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> $<TARGET_FILE:${target}>.debug
      COMMAND ${CMAKE_OBJCOPY} --strip-debug --add-gnu-debuglink=$<TARGET_FILE:${target}>.debug
              $<TARGET_FILE:${target}>
      VERBATIM)
  endif()
endfunction()
