# One INTERFACE target carries the options every target of the project shares.
# Warnings become errors through CMAKE_COMPILE_WARNING_AS_ERROR (the ci and
# sanitize presets set it); --compile-no-warning-as-error turns it off for one build.
add_library(logweave_compile_options INTERFACE)
add_library(logweave::compile_options ALIAS logweave_compile_options)

# The one place the standard is set. A feature is always required (CMake stops
# on a compiler without it), and it reaches every target that links this one.
target_compile_features(logweave_compile_options INTERFACE cxx_std_20)

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(logweave_compile_options INTERFACE
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
  target_compile_options(logweave_compile_options INTERFACE /W4 /permissive- /utf-8)
endif()
