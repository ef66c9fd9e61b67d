# Deployment settings: the base (scheme://host[:port]) of each operator host the
# client talks to. The paths are fixed in common/PublicData.cpp.
#
#   VELMORA_UPDATE_BASE    static-content host, serves the update manifest
#   VELMORA_LOGIN_BASE     account host, serves the login page
#   VELMORA_GAMESPACE_BASE game-portal host, opened in the default browser
#   VELMORA_HOME_BASE      home-page host, opened by "/web"
#
# The test flavour reads them from tests/hosts.env instead.
set(VELMORA_FLAVOR "release" CACHE STRING "Client flavour: release (system browser control, operator hosts) or test (plain page engine, loopback hosts)")
set_property(CACHE VELMORA_FLAVOR PROPERTY STRINGS release test)

set(VELMORA_PAGE_ENGINE "system" CACHE STRING "Page engine: system (the system browser control) or auto (WebView2 where its runtime is installed and starts, the system control otherwise)")
set_property(CACHE VELMORA_PAGE_ENGINE PROPERTY STRINGS system auto)
if(NOT VELMORA_PAGE_ENGINE MATCHES "^(system|auto)$")
  message(FATAL_ERROR "VELMORA_PAGE_ENGINE must be system or auto, got '${VELMORA_PAGE_ENGINE}'")
endif()
if(VELMORA_PAGE_ENGINE STREQUAL "auto")
  set(VELMORA_PAGE_ENGINE_AUTO 1)
else()
  set(VELMORA_PAGE_ENGINE_AUTO 0)
endif()

set(VELMORA_UPDATE_BASE    "http://static.velmora.example"   CACHE STRING "Static-content host base")
set(VELMORA_LOGIN_BASE     "https://passport.velmora.example" CACHE STRING "Account host base")
set(VELMORA_GAMESPACE_BASE "https://space.velmora.example"    CACHE STRING "Game-portal host base")
set(VELMORA_HOME_BASE      "http://www.velmora.example"       CACHE STRING "Home-page host base")

set(VELMORA_UPDATE_ROOT_KEY "" CACHE STRING "The operator's root public key: 128 hex digits, X then Y (tools/sign-update root-keygen writes it); when set, only update keys that a key list signed by it names sign manifests")
set(VELMORA_UPDATE_PUBLIC_KEY "" CACHE STRING "Without a root key, the operator's update signing public key: 128 hex digits, X then Y (tools/sign-update keygen writes it); neither key, the updater refuses every package")

set(VELMORA_SIGN_PFX "" CACHE FILEPATH "Authenticode: the operator's code-signing certificate and key (PKCS#12); when set, the updater is signed before the client embeds it and the client after it is linked (tools/sign-code; password from VELMORA_SIGN_PASSWORD)")

if(VELMORA_FLAVOR STREQUAL "test")
  # Keys of this build tree's own, made here: nothing a release trusts. The
  # tests sign with them, under the passphrase kept beside them.
  set(test_keys ${CMAKE_BINARY_DIR}/update-keys)
  if(NOT EXISTS ${test_keys}/root-public.hex)
    file(REMOVE_RECURSE ${test_keys})
    set(ENV{VELMORA_KEY_PASSPHRASE} "velmora test keys")
    execute_process(COMMAND ${CMAKE_SOURCE_DIR}/tools/sign-update root-keygen ${test_keys} RESULT_VARIABLE made_root)
    execute_process(COMMAND ${CMAKE_SOURCE_DIR}/tools/sign-update keygen ${test_keys} RESULT_VARIABLE made)
    if(NOT made_root EQUAL 0 OR NOT made EQUAL 0)
      message(FATAL_ERROR "could not make the test build's update keys")
    endif()
    file(WRITE ${test_keys}/passphrase "$ENV{VELMORA_KEY_PASSPHRASE}")
  endif()
  file(READ ${test_keys}/root-public.hex VELMORA_UPDATE_ROOT_KEY)
  string(STRIP "${VELMORA_UPDATE_ROOT_KEY}" VELMORA_UPDATE_ROOT_KEY)
  file(READ ${test_keys}/update-public.hex VELMORA_UPDATE_PUBLIC_KEY)
  string(STRIP "${VELMORA_UPDATE_PUBLIC_KEY}" VELMORA_UPDATE_PUBLIC_KEY)
  set(hosts_file ${CMAKE_SOURCE_DIR}/tests/hosts.env)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${hosts_file})
  file(STRINGS ${hosts_file} host_lines REGEX "^[A-Z_]+=")
  foreach(line ${host_lines})
    string(REGEX MATCH "^([A-Z_]+)=(.*)$" _ "${line}")
    set(VELMORA_${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
  endforeach()
endif()

foreach(key UPDATE_ROOT_KEY UPDATE_PUBLIC_KEY)
  string(LENGTH "${VELMORA_${key}}" digits)
  if(NOT VELMORA_${key} STREQUAL "" AND (NOT digits EQUAL 128 OR NOT VELMORA_${key} MATCHES "^[0-9a-fA-F]+$"))
    message(FATAL_ERROR "VELMORA_${key} must be 128 hex digits")
  endif()
endforeach()

foreach(name UPDATE_BASE LOGIN_BASE GAMESPACE_BASE HOME_BASE)
  if(NOT VELMORA_${name} MATCHES "^https?://[^/]+$")
    message(FATAL_ERROR "VELMORA_${name} must be scheme://host[:port] with no path, got '${VELMORA_${name}}'")
  endif()
endforeach()

set(VELMORA_VERSION_MAJOR ${PROJECT_VERSION_MAJOR})
set(VELMORA_VERSION_MINOR ${PROJECT_VERSION_MINOR})
set(VELMORA_VERSION_PATCH ${PROJECT_VERSION_PATCH})
configure_file(${CMAKE_SOURCE_DIR}/cmake/BuildSettings.h.in ${CMAKE_BINARY_DIR}/generated/BuildSettings.h @ONLY)
