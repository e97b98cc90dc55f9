# Fails unless every test of the build is named as tests/CMakeLists.txt
# says: "Suite.Case", the suite in UpperCamelCase and ending in "Test", and
# the cases of a GoogleTest suite all in one program, so that one name picks
# them out for `ctest -R` and for `--gtest_filter`.
#   cmake -DCTEST=... -DBUILD=<build folder> -P testNames.cmake
execute_process(COMMAND ${CTEST} --test-dir ${BUILD} --show-only=json-v1
  OUTPUT_VARIABLE json RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "ctest cannot list the tests of ${BUILD}")
endif()

set(bad)
string(JSON count LENGTH "${json}" tests)
math(EXPR last "${count} - 1")
foreach(index RANGE ${last})
  string(JSON name GET "${json}" tests ${index} name)
  if(NOT name MATCHES "^([A-Z][A-Za-z0-9]*Test)\\.[A-Za-z0-9_]+$")
    list(APPEND bad "${name}: not Suite.Case with a suite named <What>Test")
    continue()
  endif()
  set(suite ${CMAKE_MATCH_1})
  # A GoogleTest case runs as "<program> --gtest_filter=Suite.Case ...",
  # behind the cross build's emulator if there is one.
  string(JSON words ERROR_VARIABLE missing LENGTH "${json}" tests ${index} command)
  if(missing)
    continue()
  endif()
  set(program)
  set(before "")
  math(EXPR lastWord "${words} - 1")
  foreach(word RANGE ${lastWord})
    string(JSON argument GET "${json}" tests ${index} command ${word})
    if(argument MATCHES "^--gtest_filter=" AND NOT before STREQUAL "")
      set(program ${before})
      break()
    endif()
    set(before ${argument})
  endforeach()
  if(NOT program)
    continue()
  endif()
  if(DEFINED program_of_${suite} AND NOT program_of_${suite} STREQUAL program)
    list(APPEND bad "${suite}: in ${program_of_${suite}} and in ${program}")
  endif()
  set(program_of_${suite} ${program})
endforeach()

if(bad)
  list(REMOVE_DUPLICATES bad)
  list(JOIN bad "\n  " lines)
  message(FATAL_ERROR "tests named against the convention of tests/CMakeLists.txt:\n  ${lines}")
endif()
