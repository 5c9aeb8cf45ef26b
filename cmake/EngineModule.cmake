# Helpers shared by every module, test and benchmark.
#
# engine_module(<name> SOURCES ... [DEPS ...] [PRIVATE_DEPS ...])
#   Builds the static library <name>_lib and an interface target <name> that
#   links it whole: classes register themselves by name from static objects,
#   and a plain static link would drop the objects nothing refers to.
#   Headers are included from the source root: #include "core/Core_Object.h".
#   A module depends only on modules before it in ENGINE_MODULES; a dependency
#   on a later one stops the configuration (scripts/check-layering checks the
#   includes the same way).
function(engine_module name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  list(FIND ENGINE_MODULES ${name} own_place)
  if(own_place LESS 0)
    message(FATAL_ERROR "Module ${name} is not in ENGINE_MODULES")
  endif()
  foreach(dep IN LISTS ARG_DEPS ARG_PRIVATE_DEPS)
    list(FIND ENGINE_MODULES ${dep} dep_place)
    if(dep_place GREATER_EQUAL own_place)
      message(FATAL_ERROR "Module ${name} depends on ${dep}, which is not below it in ENGINE_MODULES")
    endif()
  endforeach()
  # The modules it links, directly or not, for engine_test.
  set(closure ${name})
  foreach(dep IN LISTS ARG_DEPS ARG_PRIVATE_DEPS)
    get_property(dep_closure GLOBAL PROPERTY ENGINE_MODULE_CLOSURE_${dep})
    list(APPEND closure ${dep_closure})
  endforeach()
  list(REMOVE_DUPLICATES closure)
  set_property(GLOBAL PROPERTY ENGINE_MODULE_CLOSURE_${name} ${closure})
  add_library(${name}_lib STATIC ${ARG_SOURCES})
  target_include_directories(${name}_lib PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name}_lib PUBLIC engine_options ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  add_library(${name} INTERFACE)
  target_link_libraries(${name} INTERFACE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${name}_lib>")
endfunction()

# engine_test_support(<module> SOURCES ...)
#   The static library <module>_test_support: test doubles for <module>, built
#   from tests/support/<module>/ and never part of the module's own library.
function(engine_test_support module)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  add_library(${module}_test_support STATIC ${ARG_SOURCES})
  target_include_directories(${module}_test_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${module}_test_support PUBLIC engine_options ${module})
endfunction()

# engine_test(<module> SOURCES ... [DEPS ...] [TIMEOUT seconds])
#   One test executable test_<module>; every ctest name starts with "<module>.".
#   TIMEOUT (default 300) bounds each test; long simulations under the
#   sanitizers on a loaded two-core machine may need more.
#   It links the test support of every module it links.
#   Test suites whose name contains "Display" need a window or GL context and
#   carry the ctest label "display".
function(engine_test module)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;DEPS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set(target test_${module})
  add_executable(${target} ${ARG_SOURCES})
  set(support)
  foreach(linked IN ITEMS ${module} LISTS ARG_DEPS)
    get_property(closure GLOBAL PROPERTY ENGINE_MODULE_CLOSURE_${linked})
    foreach(dep IN LISTS closure)
      if(TARGET ${dep}_test_support)
        list(APPEND support ${dep}_test_support)
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES support)
  # The program's tests (app) have no library of their own.
  if(TARGET ${module})
    target_link_libraries(${target} PRIVATE ${module})
  endif()
  target_link_libraries(${target} PRIVATE engine_options ${ARG_DEPS} ${support}
                                          GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${target} PRIVATE ENGINE_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
  gtest_discover_tests(${target}
    TEST_PREFIX "${module}."
    TEST_FILTER "-*Display*"
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT ${ARG_TIMEOUT})
  gtest_discover_tests(${target}
    TEST_PREFIX "${module}."
    TEST_FILTER "*Display*"
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS display)
endfunction()

# engine_bench(<module> SOURCES ... [DEPS ...])
function(engine_bench module)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(bench_${module} ${ARG_SOURCES})
  target_link_libraries(bench_${module} PRIVATE engine_options ${module} ${ARG_DEPS} benchmark::benchmark)
endfunction()
