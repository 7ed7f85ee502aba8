# Shared build helpers.

macro(mv_add_areas)
  foreach(_area ${ARGN})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${_area}/CMakeLists.txt)
      add_subdirectory(${_area})
    endif()
  endforeach()
endmacro()

# Adds every sub-folder of the current folder that has a CMakeLists.txt.
macro(mv_add_all_subdirs)
  file(GLOB _mv_subdirs LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT _mv_subdirs)
  foreach(_dir IN LISTS _mv_subdirs)
    if(IS_DIRECTORY ${_dir} AND EXISTS ${_dir}/CMakeLists.txt)
      add_subdirectory(${_dir})
    endif()
  endforeach()
endmacro()

# mv_add_gtest(NAME name LABEL label SOURCES ... LIBS ... [ENV VAR=VALUE ...] [TIMEOUT s]
#              [SCREENSHOTS])
# Builds one GoogleTest binary and registers its cases with CTest under the label.
# SCREENSHOTS: its cases write screenshots, and the contact sheet of them all is made
# after the last of them has run.
function(mv_add_gtest)
  cmake_parse_arguments(T "SCREENSHOTS" "NAME;LABEL;TIMEOUT" "SOURCES;LIBS;ENV" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set(_env "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/scripts/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1" "SDL_AUDIODRIVER=dummy" ${T_ENV})
  gtest_discover_tests(${T_NAME}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS ${T_LABEL} TIMEOUT ${T_TIMEOUT})
  # The discovery script splits a list-valued ENVIRONMENT, so the environment is set by a
  # file of our own that CTest reads after the discovered tests.
  set(_envfile ${CMAKE_CURRENT_BINARY_DIR}/${T_NAME}_env.cmake)
  set(_fixture "")
  if(T_SCREENSHOTS)
    set(_fixture " FIXTURES_REQUIRED mv_screenshots")
  endif()
  file(WRITE ${_envfile}
    "if(DEFINED ${T_NAME}_TESTS)\n"
    "  set_tests_properties(\${${T_NAME}_TESTS} PROPERTIES ENVIRONMENT \"${_env}\"${_fixture})\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${_envfile})
endfunction()

# mv_add_bench(NAME name SOURCES ... LIBS ...)
function(mv_add_bench)
  cmake_parse_arguments(B "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${B_NAME} ${B_SOURCES})
  target_link_libraries(${B_NAME} PRIVATE ${B_LIBS} benchmark::benchmark Threads::Threads)
  set_target_properties(${B_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# The log group a target's own messages are filed under ("mv", "cocos2d", ...).
function(mv_log_group target group)
  target_compile_definitions(${target} PRIVATE LOGOG_GROUP="${group}")
endfunction()

# mv_sources_of(TARGET OUT): the target's source files with absolute paths, for
# tools that build a library's sources themselves (at their own optimisation).
function(mv_sources_of target out)
  get_target_property(_sources ${target} SOURCES)
  get_target_property(_dir ${target} SOURCE_DIR)
  set(_abs)
  foreach(_s IN LISTS _sources)
    if(NOT IS_ABSOLUTE "${_s}")
      set(_s "${_dir}/${_s}")
    endif()
    list(APPEND _abs "${_s}")
  endforeach()
  set(${out} ${_abs} PARENT_SCOPE)
endfunction()
