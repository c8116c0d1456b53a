# Test helpers shared by every folder under tests/.
#
#   orvanel_unit_test(NAME SOURCES ... LIBS ...)   native GoogleTest program (portable code)
#   orvanel_wine_test(NAME SOURCES ... LIBS ...)   Windows GoogleTest program run under Wine
#   orvanel_fuzz_target(NAME SOURCE src LIBS ...)  libFuzzer target; under gcc a replay driver
#   orvanel_e2e_test(NAME SCRIPT file.py)          end-to-end test of the built programs

if(WIN32)
  # No prebuilt GoogleTest for MinGW: build Debian's sources with the cross compiler.
  if(NOT TARGET gtest)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # MinGW's win32 thread model has no std::mutex: a port header of our own
    # gives GoogleTest what it would have built from it.
    target_include_directories(gtest BEFORE PUBLIC ${CMAKE_CURRENT_LIST_DIR}/gtest-mingw)
  endif()
  set(ORVANEL_GTEST_LIBS gmock gtest_main)
else()
  find_package(GTest REQUIRED)
  set(ORVANEL_GTEST_LIBS GTest::gmock GTest::gtest_main)
endif()

find_package(Python3 COMPONENTS Interpreter)

function(orvanel_unit_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(WIN32 OR ORVANEL_LIBFUZZER)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${ORVANEL_GTEST_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS unit)
endfunction()

function(orvanel_wine_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${ORVANEL_GTEST_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS wine TIMEOUT 300)
endfunction()

function(orvanel_fuzz_target name)
  cmake_parse_arguments(T "" "SOURCE" "LIBS" ${ARGN})
  if(WIN32)
    return()
  endif()
  add_executable(${name} ${T_SOURCE})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  if(ORVANEL_LIBFUZZER)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  else()
    # Without libFuzzer the target replays a fixed set of inputs, so every
    # build still runs the parser over hostile text under the sanitizers.
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/fuzz_replay_main.cpp)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS fuzz)
  endif()
endfunction()

function(orvanel_e2e_test name)
  cmake_parse_arguments(T "" "SCRIPT" "" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  add_test(NAME ${name}
           COMMAND /usr/bin/python3 -m unittest -v ${T_SCRIPT}
           WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/tests/e2e)
  set_tests_properties(${name} PROPERTIES
    LABELS e2e TIMEOUT 600
    ENVIRONMENT "ORVANEL_DIST=${CMAKE_BINARY_DIR}/dist;ORVANEL_TESTBIN=${CMAKE_BINARY_DIR}/tests/e2e")
endfunction()
