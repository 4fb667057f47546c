# Compiler settings shared by every target of the project.
add_library(zorone_common INTERFACE)
target_compile_features(zorone_common INTERFACE cxx_std_20)
target_compile_options(zorone_common INTERFACE -Wall -Wextra -Wpedantic)
if(ZORONE_WERROR)
  target_compile_options(zorone_common INTERFACE -Werror)
endif()

# The core layers must stay free of Qt: called once every target exists, it
# fails the configure step when a core layer names a Qt target to link.
function(zorone_check_core_targets)
  get_property(targets GLOBAL PROPERTY ZORONE_CORE_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(libs ${target} LINK_LIBRARIES)
    foreach(lib IN LISTS libs)
      if(lib MATCHES "^Qt[0-9]*::")
        message(FATAL_ERROR "${target} is a core layer and must not link ${lib}")
      endif()
    endforeach()
  endforeach()
endfunction()

# A core layer: one static library built from every source file of its folder.
function(zorone_core_library target)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC zorone_common ${ARG_DEPENDS})
  else()
    # A layer whose sources are still to come.
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE zorone_common ${ARG_DEPENDS})
  endif()
  set_property(GLOBAL APPEND PROPERTY ZORONE_CORE_TARGETS ${target})
endfunction()

# Memory and undefined-behaviour checking for the whole build: any report
# aborts the program, so a test that triggers one fails.
option(ZORONE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
# libFuzzer targets (tests/fuzz); needs clang. Instruments every library for
# coverage and turns the sanitizers on as well.
option(ZORONE_FUZZ "Build the libFuzzer targets (clang only)" OFF)
if(ZORONE_SANITIZE OR ZORONE_FUZZ)
  set(zorone_sanitizers -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_compile_options(zorone_common INTERFACE ${zorone_sanitizers})
  target_link_options(zorone_common INTERFACE ${zorone_sanitizers})
endif()
if(ZORONE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "ZORONE_FUZZ needs clang (configure with CXX=clang++)")
  endif()
  target_compile_options(zorone_common INTERFACE -fsanitize=fuzzer-no-link)
endif()
