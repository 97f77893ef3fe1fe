# One CTest test per test executable: under Wine a single start runs every case of it.
enable_testing()

# Time limits of the tests are multiplied by this factor; test.sh raises it where the Windows tests
# run under an emulated 32-bit side.
set(WORDMERE_TEST_TIME_SCALE 1 CACHE STRING "Factor applied to every test's time limit")

# wordmere_test_timeout(TEST SECONDS): the test's time limit, scaled.
function(wordmere_test_timeout test seconds)
  math(EXPR scaled "${seconds} * ${WORDMERE_TEST_TIME_SCALE}")
  set_tests_properties(${test} PROPERTIES TIMEOUT ${scaled})
endfunction()

# wordmere_window_test(TEST...): the tests show windows, take the foreground or screenshot the
# display. Inside a shared Wine session (scripts/wine-session.sh --share) they all use the session's
# one display, so CTest runs them one at a time.
function(wordmere_window_test)
  set_tests_properties(${ARGN} PROPERTIES RESOURCE_LOCK wine_display)
endfunction()

# wordmere_test(NAME name SOURCES ... LIBS ...)
function(wordmere_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(WORDMERE_FUZZ)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  if(WIN32)
    # Our main: its result printer keeps a failing case from ending the program under Wine.
    target_sources(${T_NAME} PRIVATE ${WORDMERE_ROOT}/engine/testing/lxtest_main.cpp)
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest)
  else()
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  endif()
  target_compile_definitions(${T_NAME} PRIVATE WORDMERE_SOURCE_DIR="${WORDMERE_ROOT}")
  # A missing sample module fails the tests that read it, unless the build is configured
  # without them on purpose.
  if(WORDMERE_WITHOUT_SAMPLE_MODULES)
    target_compile_definitions(${T_NAME} PRIVATE WORDMERE_SAMPLES_REQUIRED=0)
  else()
    target_compile_definitions(${T_NAME} PRIVATE WORDMERE_SAMPLES_REQUIRED=1)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_brief=1)
  wordmere_test_timeout(${T_NAME} 900)
endfunction()

# wordmere_fuzzer(NAME name SOURCES ... LIBS ...): a libFuzzer target, built only with WORDMERE_FUZZ.
function(wordmere_fuzzer)
  cmake_parse_arguments(F "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(NOT WORDMERE_FUZZ)
    return()
  endif()
  add_executable(${F_NAME} ${F_SOURCES})
  target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
endfunction()

# wordmere_benchmark(NAME name SOURCES ... LIBS ...): Google Benchmark, native builds only; not a test.
function(wordmere_benchmark)
  cmake_parse_arguments(B "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(NOT benchmark_FOUND)
    return()
  endif()
  add_executable(${B_NAME} ${B_SOURCES})
  target_link_libraries(${B_NAME} PRIVATE ${B_LIBS} benchmark::benchmark)
endfunction()

# wordmere_fuzzers_and_benchmarks(LIB lib [DIR dir]): one fuzzer per fuzz/*_fuzzer.cpp and one
# benchmark per bench/*_bench.cpp of dir (the calling folder by default), each linking lib.
function(wordmere_fuzzers_and_benchmarks)
  cmake_parse_arguments(X "" "LIB;DIR" "" ${ARGN})
  if(NOT X_DIR)
    set(X_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  file(GLOB fuzzers CONFIGURE_DEPENDS ${X_DIR}/fuzz/*_fuzzer.cpp)
  foreach(f ${fuzzers})
    get_filename_component(n ${f} NAME_WE)
    wordmere_fuzzer(NAME ${n} SOURCES ${f} LIBS ${X_LIB})
  endforeach()
  file(GLOB benches CONFIGURE_DEPENDS ${X_DIR}/bench/*_bench.cpp)
  foreach(b ${benches})
    get_filename_component(n ${b} NAME_WE)
    wordmere_benchmark(NAME ${n} SOURCES ${b} LIBS ${X_LIB})
  endforeach()
endfunction()
