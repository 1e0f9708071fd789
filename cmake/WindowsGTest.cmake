# GoogleTest for the cross build: Debian's googletest package ships its
# sources in /usr/src/googletest; they are built here with the cross compiler.
# The targets carry the names that find_package(GTest) gives, and a config
# file in the build folder lets a later find_package(GTest) find them.
set(KORVAL_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to build with the cross compiler")
if(NOT EXISTS ${KORVAL_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest sources in ${KORVAL_GTEST_SOURCE}: apt-get install googletest")
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
add_subdirectory(${KORVAL_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# GoogleTest's own sources are not ours to warn about.
target_compile_options(gtest PRIVATE -w)
target_compile_options(gtest_main PRIVATE -w)

if(NOT TARGET GTest::gtest)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
  add_library(GTest::GTest ALIAS gtest)
  add_library(GTest::Main ALIAS gtest_main)
endif()
set(korval_gtest_config ${CMAKE_BINARY_DIR}/gtest-config)
file(WRITE ${korval_gtest_config}/GTestConfig.cmake
  "# The GoogleTest targets exist already (cmake/WindowsGTest.cmake).\nset(GTest_FOUND TRUE)\n")
set(GTest_DIR ${korval_gtest_config} CACHE PATH "" FORCE)
set(GTest_ROOT ${korval_gtest_config})

include(GoogleTest)

# One test program of the Windows build; every test in it is its own CTest
# test, listed at test time (under Wine, in the prefix that
# scripts/windows-wine-prefix.sh makes), never while building.
#   korval_windows_test(<name> SOURCES <files...> LIBRARIES <targets...>)
function(korval_windows_test name)
  cmake_parse_arguments(PARSE_ARGV 1 test "" "" "SOURCES;LIBRARIES")
  add_executable(${name} ${test_SOURCES})
  target_link_libraries(${name} PRIVATE ${test_LIBRARIES} GTest::gtest_main)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    NO_PRETTY_VALUES
    PROPERTIES TIMEOUT 120)
endfunction()
