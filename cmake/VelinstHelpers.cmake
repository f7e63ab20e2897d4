# Building blocks shared by every subsystem, test, benchmark and fuzz target.

# velinst_subsystem(<target>
#   SOURCES <portable sources...>
#   PLATFORM <stems...>        one file per stem, see velinst_platform_sources
#   DEPS <targets...>          other velinst targets this one builds on
#   WIN32_LIBS <libs...>       system libraries of the Windows part
#   POSIX_LIBS <libs...>)      libraries of the host part
function(velinst_subsystem target)
  cmake_parse_arguments(ARG "" "" "SOURCES;PLATFORM;DEPS;WIN32_LIBS;POSIX_LIBS" ${ARGN})
  velinst_platform_sources(platform_sources ${ARG_PLATFORM})
  add_library(${target} STATIC ${ARG_SOURCES} ${platform_sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/include)
  target_compile_definitions(${target} PUBLIC VELINST_BUILDING)
  target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  if(WIN32)
    target_link_libraries(${target} PUBLIC ${ARG_WIN32_LIBS})
  else()
    target_link_libraries(${target} PUBLIC ${ARG_POSIX_LIBS})
  endif()
endfunction()

# Marks a subsystem target that defines VEL_ exports: it is linked whole into
# the shared library.
function(velinst_exporting target)
  set_property(GLOBAL APPEND PROPERTY VELINST_EXPORTING_TARGETS ${target})
endfunction()

# Adds every folder below the current one that has a CMakeLists.txt.
function(velinst_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# Picks the platform file of each stem: "dir/name" becomes dir/win32/name.cpp
# or dir/posix/name.cpp.
function(velinst_platform_sources out_var)
  if(WIN32)
    set(platform win32)
  else()
    set(platform posix)
  endif()
  set(result)
  foreach(stem IN LISTS ARGN)
    cmake_path(GET stem PARENT_PATH folder)
    cmake_path(GET stem FILENAME name)
    if(folder)
      list(APPEND result ${folder}/${platform}/${name}.cpp)
    else()
      list(APPEND result ${platform}/${name}.cpp)
    endif()
  endforeach()
  set(${out_var} ${result} PARENT_SCOPE)
endfunction()

macro(velinst_setup_googletest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  if(WIN32 AND VELINST_WINE_TESTS)
    # Every test program of the Windows build runs under wine64 in a prefix
    # of this build folder's own, created once by the wrapper.
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh;${CMAKE_BINARY_DIR}/wineprefix)
  endif()
endmacro()

# velinst_test(<name> SOURCES <files...> DEPS <targets...>)
# One GoogleTest program per unit; ctest runs it whole (under wine on Windows).
function(velinst_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PLATFORM" ${ARGN})
  velinst_platform_sources(platform_sources ${ARG_PLATFORM})
  add_executable(${name} ${ARG_SOURCES} ${platform_sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} velinst_test_support GTest::gmock GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
endfunction()

# velinst_fuzzer(<name> SOURCES <files...> DEPS <targets...>)
# A libFuzzer target; its seeds live in fuzz/<name>/seeds.
function(velinst_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()

# velinst_benchmark(<name> SOURCES <files...> DEPS <targets...>)
function(velinst_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark)
endfunction()

# The scripted test server (tools/testserver) is a host program; the Windows
# tests reach it on loopback from under wine, so their build takes the host
# build's tools folder.
set(VELINST_HOST_TOOLS_DIR "${PROJECT_SOURCE_DIR}/build/host/bin" CACHE PATH
    "Folder of the host build's programs (the test server), for the Windows tests")

# The file in which the test server started by the fixture leaves its port,
# as the test programs see it.
function(velinst_testserver_port_file out_var)
  set(port_file ${CMAKE_BINARY_DIR}/testserver.port)
  if(WIN32)
    # wine shows the host's root as drive Z:.
    set(port_file "Z:${port_file}")
  endif()
  set(${out_var} ${port_file} PARENT_SCOPE)
endfunction()

# velinst_use_testserver(<test>)
# The test runs against one test server that a ctest fixture starts on a
# free loopback port and stops after the last such test. Tests that script
# the server hold its lock, so they never run in parallel against it.
function(velinst_use_testserver test)
  get_property(defined GLOBAL PROPERTY VELINST_TESTSERVER_FIXTURE)
  if(NOT defined)
    if(WIN32)
      set(server ${VELINST_HOST_TOOLS_DIR}/velinst_testserver)
    else()
      set(server $<TARGET_FILE:velinst_testserver>)
    endif()
    set(port_file ${CMAKE_BINARY_DIR}/testserver.port)
    add_test(NAME testserver_start COMMAND ${server} --detach --port-file ${port_file} --idle-exit 900)
    add_test(NAME testserver_stop COMMAND ${server} --stop --port-file ${port_file})
    set_tests_properties(testserver_start PROPERTIES FIXTURES_SETUP testserver)
    set_tests_properties(testserver_stop PROPERTIES FIXTURES_CLEANUP testserver)
    set_property(GLOBAL PROPERTY VELINST_TESTSERVER_FIXTURE ON)
  endif()
  set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED testserver RESOURCE_LOCK testserver
    ENVIRONMENT_MODIFICATION "http_proxy=unset:;HTTP_PROXY=unset:;https_proxy=unset:;all_proxy=unset:")
endfunction()
