# Two INTERFACE targets.
#
# logweave::compile_options carries what every object file and executable
# linked together must share, so it travels to every consumer: the standard,
# the sanitizers (their link options must reach each executable), the fuzzer's
# coverage, and on MSVC the source character set.
#
# logweave::warnings carries the warnings. Each target of the tree links it
# PRIVATE, so that a consumer gets them from its own link, never from a
# library it uses. Warnings become errors through CMAKE_COMPILE_WARNING_AS_ERROR
# (the ci and sanitize presets set it); --compile-no-warning-as-error turns it
# off for one build.
add_library(logweave_compile_options INTERFACE)
add_library(logweave::compile_options ALIAS logweave_compile_options)
add_library(logweave_warnings INTERFACE)
add_library(logweave::warnings ALIAS logweave_warnings)

# The one place the standard is set. A feature is always required (CMake stops
# on a compiler without it), and it reaches every target that links this one.
target_compile_features(logweave_compile_options INTERFACE cxx_std_20)

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(logweave_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Wcast-align -Wunused -Woverloaded-virtual
    -Wimplicit-fallthrough)
  if(LOGWEAVE_SANITIZE)
    target_compile_options(logweave_compile_options INTERFACE
      -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(logweave_compile_options INTERFACE
      -fsanitize=address,undefined -fno-sanitize-recover=all)
  endif()
  if(LOGWEAVE_BUILD_FUZZ)
    # Coverage for the fuzzer everywhere; its main is linked into the fuzz binary only.
    target_compile_options(logweave_compile_options INTERFACE -fsanitize=fuzzer-no-link)
  endif()
elseif(MSVC)
  target_compile_options(logweave_warnings INTERFACE /W4)
  # How the sources are read, not a warning: the pane texts' headers need it wherever they are included.
  target_compile_options(logweave_compile_options INTERFACE /permissive- /utf-8)
endif()

# Stops the configuration when a compiled target of the tree does not link
# logweave::warnings, or passes them on: a new target cannot get that wrong unnoticed.
function(logweave_check_warnings directory)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    # Qt makes an object library of its own for each set of resources.
    if(target MATCHES "_resources_[0-9]+$")
      continue()
    endif()
    if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
      get_target_property(links ${target} LINK_LIBRARIES)
      get_target_property(passed_on ${target} INTERFACE_LINK_LIBRARIES)
      if(NOT "logweave::warnings" IN_LIST links OR "logweave::warnings" IN_LIST passed_on)
        message(FATAL_ERROR "${target} does not link logweave::warnings PRIVATE")
      endif()
    endif()
  endforeach()
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    # Only the tree's own: a cross build compiles GoogleTest's source beside it.
    cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${subdirectory}" NORMALIZE ours)
    if(ours)
      logweave_check_warnings(${subdirectory})
    endif()
  endforeach()
endfunction()
