# Shared target helpers. Model libraries never see Qt: they are built without
# any Qt include path, so a stray Qt include fails the build.

# clang's -Wconversion also warns about every signed/unsigned mix; keep both
# compilers to the same set.
set(TALWYN_WARNINGS -Wall -Wextra -Wshadow -Wconversion $<$<CXX_COMPILER_ID:Clang>:-Wno-sign-conversion>)
option(TALWYN_WERROR "Treat compiler warnings as errors" OFF)
if(TALWYN_WERROR)
  list(APPEND TALWYN_WARNINGS -Werror)
endif()

if(TALWYN_SANITIZE)
  string(REPLACE ";" "," _talwyn_san "${TALWYN_SANITIZE}")
  add_compile_options(-fsanitize=${_talwyn_san} -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${_talwyn_san})
endif()

# A library exports its own folder and nothing else: its include root holds
# one link, named like the folder, to src/<folder>, so "device/x.h" resolves
# only where a library of src/device is linked. Libraries of one folder share
# its root.
function(_talwyn_export_own_folder name)
  file(RELATIVE_PATH _folder ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
  if(_folder STREQUAL "" OR _folder MATCHES "^\\.\\.")
    message(FATAL_ERROR "${name}: project libraries live in a folder of src/")
  endif()
  set(_root ${CMAKE_BINARY_DIR}/include-roots/${_folder})
  get_filename_component(_parent ${_root}/${_folder} DIRECTORY)
  file(MAKE_DIRECTORY ${_parent})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${_root}/${_folder} SYMBOLIC)
  target_include_directories(${name} PUBLIC ${_root})
endfunction()

# Under AddressSanitizer a program or test ignores the leaks system libraries
# keep for their lifetime; the tests run the programs too.
function(talwyn_leak_suppressions target)
  if(TALWYN_SANITIZE MATCHES "address")
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/lsan_suppressions.cpp)
  endif()
endfunction()

# talwyn_model_library(NAME SOURCES ... [DEPS ...])
function(talwyn_model_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  _talwyn_export_own_folder(${name})
  target_compile_options(${name} PRIVATE ${TALWYN_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  set_target_properties(${name} PROPERTIES AUTOMOC OFF TALWYN_MODEL ON)
endfunction()

# talwyn_gui_library(NAME SOURCES ... [DEPS ...])
function(talwyn_gui_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  _talwyn_export_own_folder(${name})
  target_compile_options(${name} PRIVATE ${TALWYN_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} Qt6::Core Qt6::Gui Qt6::Widgets)
endfunction()

# talwyn_test(NAME SOURCES ... [DEPS ...] [ENV VAR=VALUE] [LABELS ...])
# One GoogleTest executable, one ctest entry per test case. Tests find the
# built deliverables and the source tree through compile definitions.
function(talwyn_test name)
  cmake_parse_arguments(ARG "" "ENV" "SOURCES;DEPS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE TALWYN_BIN_DIR="${TALWYN_BIN_DIR}"
                                             TALWYN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                             TALWYN_TEST_TMP="${CMAKE_BINARY_DIR}/test-tmp")
  target_compile_options(${name} PRIVATE ${TALWYN_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} talwyn_test_support GTest::gtest GTest::gmock GTest::gtest_main)
  talwyn_leak_suppressions(${name})
  # Property values reach the discovered tests as single words, so a test
  # executable carries one label.
  set(_props "")
  list(LENGTH ARG_LABELS _label_count)
  if(_label_count GREATER 1)
    message(FATAL_ERROR "talwyn_test(${name}): give one label, not ${ARG_LABELS}")
  elseif(_label_count EQUAL 1)
    list(APPEND _props LABELS "${ARG_LABELS}")
  endif()
  if(ARG_ENV)
    list(APPEND _props ENVIRONMENT "${ARG_ENV}")
  endif()
  # Parameterised cases are named by their suites' name generators, not by
  # gtest's printout of the parameter.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES PROPERTIES ${_props})
endfunction()
