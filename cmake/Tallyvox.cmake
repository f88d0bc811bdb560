# tallyvox_library(NAME DIR [DEPS ...]): one static library from every source below DIR.
function(tallyvox_library name dir)
  cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.c)
  if(NOT srcs)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# tallyvox_tests(NAME DIR [DATA dir] [DEPS ...]): one GoogleTest executable from every test source below DIR,
# registered with CTest. Window, GL and audio tests run headless, and settings and saves
# go to a folder inside the build tree, never the user's own.
# Tests that open an OpenGL context run with leak checking off in sanitizer builds: the
# software driver leaks memory from modules it loads at run time. A whole executable is
# marked GL, or its GL_SOURCES (file names in dir) go to a second executable NAME_gl; every
# other test is leak-checked. TALLYVOX_DATA names the tests' hand-written data (tests/data), or
# the folder given as DATA.
function(tallyvox_tests name dir)
  cmake_parse_arguments(ARG "GL" "DATA" "DEPS;GL_SOURCES" ${ARGN})
  if(NOT ARG_DATA)
    set(ARG_DATA ${PROJECT_SOURCE_DIR}/tests/data)
  endif()
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  set(gl_srcs)
  foreach(f ${ARG_GL_SOURCES})
    list(REMOVE_ITEM srcs ${dir}/${f})
    list(APPEND gl_srcs ${dir}/${f})
  endforeach()
  if(ARG_GL)
    tallyvox_test_executable(${name} ON "${srcs}" "${ARG_DEPS}" ${ARG_DATA})
  else()
    tallyvox_test_executable(${name} OFF "${srcs}" "${ARG_DEPS}" ${ARG_DATA})
  endif()
  if(gl_srcs)
    tallyvox_test_executable(${name}_gl ON "${gl_srcs}" "${ARG_DEPS}" ${ARG_DATA})
  endif()
endfunction()

function(tallyvox_test_executable name gl srcs deps data)
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${deps} test_support GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_options(${name} PRIVATE ${TALLYVOX_TEST_OPT})
  set(env "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy;TALLYVOX_DATA=${data};XDG_DATA_HOME=${CMAKE_BINARY_DIR}/test-home/data;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-home/config")
  if(TALLYVOX_SANITIZE)
    if(gl)
      list(APPEND env "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1")
    else()
      list(APPEND env "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1")
    endif()
  endif()
  # Test names carry their folder ("engine_core/Suite.Case"), so one folder's tests can be
  # picked with a name pattern.
  string(REGEX REPLACE "^test_" "" prefix ${name})
  gtest_discover_tests(${name}
    TEST_PREFIX "${prefix}/"
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 300)
  # The environment is a list, which the discovery's PROPERTIES would cut after its first entry:
  # set it on the discovered tests from an include file that CTest reads after theirs.
  set(env_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_env.cmake)
  # Tests with a time budget (named "...Quickly") run alone: CPU time measured while
  # other tests share the core's hyperthreads runs well over the quiet figure. The long tests
  # start first, so that no long one is left running alone at the end; the whole-program runs
  # carry the label "whole_program", which the sanitizer pass leaves out.
  file(WRITE ${env_file} "if(${name}_TESTS)\n  set_tests_properties(\${${name}_TESTS} PROPERTIES ENVIRONMENT \"${env}\")\n"
       "  foreach(t IN LISTS ${name}_TESTS)\n    if(t MATCHES \"Quickly\")\n"
       "      set_tests_properties(\${t} PROPERTIES RUN_SERIAL TRUE)\n    endif()\n"
       "    if(t MATCHES \"${TALLYVOX_WHOLE_PROGRAM_TESTS}\")\n"
       "      set_tests_properties(\${t} PROPERTIES LABELS whole_program COST 1000)\n"
       "    elseif(t MATCHES \"${TALLYVOX_LONG_TESTS}\")\n"
       "      set_tests_properties(\${t} PROPERTIES COST 100)\n    endif()\n"
       "  endforeach()\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${env_file})
endfunction()
