# Flags shared by every target of every build.
option(ULMAR_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)
set(ULMAR_SANITIZE "" CACHE STRING "Sanitizers for the Linux build: address;undefined or thread")

add_library(ulmar_flags INTERFACE)
target_compile_features(ulmar_flags INTERFACE cxx_std_20)
# No fused multiply-add: the engine's sums must round exactly as written.
target_compile_options(ulmar_flags INTERFACE -ffp-contract=off -Wall -Wextra -Wshadow -Wconversion -Wno-sign-conversion)
if(ULMAR_WARNINGS_AS_ERRORS)
  target_compile_options(ulmar_flags INTERFACE -Werror)
endif()
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  # Without these, single-precision arithmetic runs in x87 extended precision.
  # Hosts built with other compilers call a 32-bit plug-in with the stack
  # aligned to 4 bytes only: every function that needs more aligns it itself.
  target_compile_options(ulmar_flags INTERFACE -msse2 -mfpmath=sse -mstackrealign)
endif()
if(WIN32)
  # No MinGW runtime DLL beside the plug-in or the tests.
  target_link_options(ulmar_flags INTERFACE -static -static-libgcc -static-libstdc++)
  target_compile_definitions(ulmar_flags INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()
if(ULMAR_SANITIZE)
  string(REPLACE ";" "," _san "${ULMAR_SANITIZE}")
  target_compile_options(ulmar_flags INTERFACE -fsanitize=${_san} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(ulmar_flags INTERFACE -fsanitize=${_san})
endif()
