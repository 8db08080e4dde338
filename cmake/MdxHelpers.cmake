# mdx_add_gtest(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>])
# Builds one GoogleTest program and registers each of its cases with CTest.
# Tests run with the source folder as working directory unless WORKING_DIRECTORY is given.
function(mdx_add_gtest name)
  cmake_parse_arguments(ARG "" "WORKING_DIRECTORY" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    MDX_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    MDX_BINARY_DIR="${CMAKE_BINARY_DIR}"
    MDX_GAME_DIR="${MDX_GAME_DIR}"
    MDX_SHARED_TESTDATA="${MDX_SHARED_TESTDATA}")
  if(NOT ARG_WORKING_DIRECTORY)
    set(ARG_WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
  endif()
  gtest_discover_tests(${name}
    WORKING_DIRECTORY "${ARG_WORKING_DIRECTORY}"
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS "${ARG_LABELS}")
endfunction()

# The project's warning flags, linked by every target (the root CMakeLists.txt does it through
# link_libraries). MDX_WERROR turns each warning into an error.
add_library(mdx_warnings INTERFACE)
target_compile_options(mdx_warnings INTERFACE -Wall -Wextra $<$<BOOL:${MDX_WERROR}>:-Werror>)
if(MDX_SANITIZE AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # g++ 12 with the sanitizers' instrumentation reports std::regex's own std::function members
  # as maybe uninitialised (inside the standard headers, at -O1); those reports are not ours.
  target_compile_options(mdx_warnings INTERFACE -Wno-maybe-uninitialized)
endif()
