# The test suites of one ctest run in build/, included by the build/CTestTestfile.cmake
# that scripts/build writes. Which Windows suites run is decided here, when ctest
# runs, by what this machine can execute (scripts/wine-arch): the 32-bit suite
# tests the client that ships, the 64-bit one the same sources built for x86-64.
# A suite that cannot run here is named in the output, with the reason, and
# stands in the summary as a skipped test; with neither, the run fails.
subdirs("native")
set(velmora_wine_arch "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-arch")
set(velmora_suites 0)
foreach(arch win32 win64)
  execute_process(COMMAND "${velmora_wine_arch}" left-out ${arch}
    OUTPUT_VARIABLE why OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE code)
  if(code EQUAL 0)
    subdirs("${arch}-test")
    math(EXPR velmora_suites "${velmora_suites} + 1")
  else()
    message(NOTICE "${why}")
    add_test(${arch}.left-out "${velmora_wine_arch}" left-out ${arch})
    set_tests_properties(${arch}.left-out PROPERTIES SKIP_RETURN_CODE 77)
  endif()
endforeach()
if(velmora_suites EQUAL 0)
  add_test(wine.none /bin/sh -c "echo 'no Windows suite can run on this machine'; exit 1")
endif()
