# Adds every listed subdirectory that exists yet, so that subsystems can
# arrive one folder at a time without touching the parent list.
function(u3dpdf_add_subdirectories)
  foreach(dir IN LISTS ARGN)
    if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt")
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()

# One GoogleTest executable per subsystem folder, registered with CTest
# test by test.
#   u3dpdf_add_test(NAME <target> SOURCES <files...> LIBS <libs...>)
function(u3dpdf_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${T_NAME} PRIVATE
    U3DPDF_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
  gtest_discover_tests(${T_NAME}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "U3DPDF_TEST_DATA_DIR=${PROJECT_SOURCE_DIR}/tests/data")
endfunction()

# Subsystem folders list their sources here; src/CMakeLists.txt creates the
# libraries once every folder has spoken, so a library whose folders are not
# written yet stays an empty interface instead of breaking the build.
#   u3dpdf_sources(<library> <files...>)
function(u3dpdf_sources lib)
  foreach(f IN LISTS ARGN)
    set_property(GLOBAL APPEND PROPERTY U3DPDF_SOURCES_${lib}
                 "${CMAKE_CURRENT_SOURCE_DIR}/${f}")
  endforeach()
endfunction()

function(u3dpdf_make_library lib)
  get_property(srcs GLOBAL PROPERTY U3DPDF_SOURCES_${lib})
  if(srcs)
    add_library(${lib} STATIC ${srcs})
    target_include_directories(${lib} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    # Only the two entry points of the module may be visible outside it.
    set_target_properties(${lib} PROPERTIES CXX_VISIBILITY_PRESET hidden
                                            VISIBILITY_INLINES_HIDDEN ON)
    set(scope PUBLIC)
  else()
    add_library(${lib} INTERFACE)
    target_include_directories(${lib} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    set(scope INTERFACE)
  endif()
  if(ARGN)
    target_link_libraries(${lib} ${scope} ${ARGN})
  endif()
endfunction()
