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

# win32 or win64: the width of the Windows build.
function(velinst_wine_arch out_var)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(${out_var} win32 PARENT_SCOPE)
  else()
    set(${out_var} win64 PARENT_SCOPE)
  endif()
endfunction()

macro(velinst_setup_googletest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  if(WIN32 AND VELINST_WINE_TESTS)
    # Every test program of the Windows build runs under the Wine of its
    # width (wine64, or 32-bit Wine in a 32-bit prefix) in a prefix of this
    # build folder's own, created once by the wrapper.
    velinst_wine_arch(wine_arch)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh;${wine_arch};${CMAKE_BINARY_DIR}/wineprefix)
    # The build stops with one line saying why when that Wine cannot start
    # here (no 32-bit Wine, no handler of i386 programs): the tests must not
    # seem to pass without having run.
    add_custom_target(wine_ready ALL COMMAND sh ${PROJECT_SOURCE_DIR}/cmake/wine-check.sh ${wine_arch} VERBATIM)
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

# The loopback servers of the tests (the scripted test server, the
# account-service stand-in) are host programs; the Windows tests reach them
# on loopback from under wine, so their build takes the host build's tools
# folder.
set(VELINST_HOST_TOOLS_DIR "${PROJECT_SOURCE_DIR}/build/host/bin" CACHE PATH
    "Folder of the host build's programs (the test servers), for the Windows tests")

# The administrator the service fixture creates, for the tests to sign in as.
set(VELINST_SERVICE_ADMIN_USER "velinst-admin")
set(VELINST_SERVICE_ADMIN_PASSWORD "admin-secret")

# The file in which the server of fixture <name> leaves its port, as the
# test programs see it.
function(velinst_port_file out_var name)
  set(port_file ${CMAKE_BINARY_DIR}/${name}.port)
  if(WIN32)
    # wine shows the host's root as drive Z:.
    set(port_file "Z:${port_file}")
  endif()
  set(${out_var} ${port_file} PARENT_SCOPE)
endfunction()

function(velinst_testserver_port_file out_var)
  velinst_port_file(port_file testserver)
  set(${out_var} ${port_file} PARENT_SCOPE)
endfunction()

# velinst_use_host_server(<test> <fixture> <program> [arguments...])
# The test runs against one loopback server, the host program <program>,
# that the ctest fixture <fixture> starts on a free port (with the
# arguments) and stops after the last test that needs it. Tests of one
# server hold its lock, so they never run in parallel against it.
function(velinst_use_host_server test fixture program)
  get_property(defined GLOBAL PROPERTY VELINST_FIXTURE_${fixture})
  if(NOT defined)
    if(WIN32)
      set(server ${VELINST_HOST_TOOLS_DIR}/${program})
    else()
      set(server $<TARGET_FILE:${program}>)
    endif()
    set(port_file ${CMAKE_BINARY_DIR}/${fixture}.port)
    set(start ${server} ${ARGN} --detach --port-file ${port_file} --idle-exit 900)
    set(stop ${server} --stop --port-file ${port_file})
    if(VELINST_SANITIZE)
      # The detached server has no terminal: its sanitizer reports go to
      # files, and stopping it fails with any it wrote.
      set(logs ${CMAKE_BINARY_DIR}/sanitizer/${fixture})
      set(fixture_script ${PROJECT_SOURCE_DIR}/cmake/sanitized-server.sh)
      add_test(NAME ${fixture}_start COMMAND ${fixture_script} start ${logs} ${start})
      add_test(NAME ${fixture}_stop COMMAND ${fixture_script} stop ${logs} ${stop})
      set_tests_properties(${fixture}_start PROPERTIES ENVIRONMENT
        "ASAN_OPTIONS=detect_leaks=1:log_path=${logs};UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:log_path=${logs}")
    else()
      add_test(NAME ${fixture}_start COMMAND ${start})
      add_test(NAME ${fixture}_stop COMMAND ${stop})
    endif()
    set_tests_properties(${fixture}_start PROPERTIES FIXTURES_SETUP ${fixture})
    set_tests_properties(${fixture}_stop PROPERTIES FIXTURES_CLEANUP ${fixture})
    set_property(GLOBAL PROPERTY VELINST_FIXTURE_${fixture} ON)
  endif()
  set_property(TEST ${test} APPEND PROPERTY FIXTURES_REQUIRED ${fixture})
  set_property(TEST ${test} APPEND PROPERTY RESOURCE_LOCK ${fixture})
  set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT_MODIFICATION
    "http_proxy=unset:;HTTP_PROXY=unset:;https_proxy=unset:;all_proxy=unset:")
endfunction()

# velinst_use_testserver(<test>): the test runs against the scripted test server.
function(velinst_use_testserver test)
  velinst_use_host_server(${test} testserver velinst_testserver)
endfunction()

# velinst_use_service(<test>): the test runs against the account-service
# stand-in, in memory, with the fixture's administrator (its password from
# the environment, not the command line) and the control path open to the
# holders of the secret beside the port file. Its passwords are hashed
# cheaply: the tests sign in often.
function(velinst_use_service test)
  velinst_use_host_server(${test} service velinst-service --db :memory: --hash-iterations 1000 --control
    --admin ${VELINST_SERVICE_ADMIN_USER} --admin-password-env VELINST_SERVICE_ADMIN_PASSWORD)
  get_property(environment_set GLOBAL PROPERTY VELINST_SERVICE_ENVIRONMENT)
  if(NOT environment_set)
    set_property(TEST service_start APPEND PROPERTY ENVIRONMENT_MODIFICATION
      "VELINST_SERVICE_ADMIN_PASSWORD=set:${VELINST_SERVICE_ADMIN_PASSWORD}")
    set_property(GLOBAL PROPERTY VELINST_SERVICE_ENVIRONMENT ON)
  endif()
endfunction()
