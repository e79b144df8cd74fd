# Build switches shared by every target of the project.

set(SANITIZE "" CACHE STRING "Comma-separated sanitizers, e.g. address,undefined")
option(CLIPWRIGHT_WERROR "Treat warnings in our own code as errors" ON)

option(CLIPWRIGHT_FUZZ "Build the libFuzzer targets (clang only; see scripts/fuzz)" OFF)
if(CLIPWRIGHT_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "CLIPWRIGHT_FUZZ needs clang")
  endif()
  # Coverage for libFuzzer in every library the fuzzers reach, with the address and undefined
  # behaviour checks on.
  set(SANITIZE "address,undefined")
endif()

# Tools that run during the build (the skin painter, the manual page writer) are built without
# the sanitizers and the fuzzer's coverage: what they would report (ThreadSanitizer inside Qt's
# uninstrumented thread pool, say) would fail the build rather than a test. The rest of the build
# is instrumented.
function(clipwright_build_tool target)
  set_target_properties(${target} PROPERTIES CLIPWRIGHT_BUILD_TOOL ON)
endfunction()
set(clipwright_instrumented "$<NOT:$<BOOL:$<TARGET_PROPERTY:CLIPWRIGHT_BUILD_TOOL>>>")
if(CLIPWRIGHT_FUZZ)
  add_compile_options("$<${clipwright_instrumented}:-fsanitize=fuzzer-no-link>")
endif()
if(SANITIZE)
  add_compile_options("$<${clipwright_instrumented}:-fsanitize=${SANITIZE};-fno-omit-frame-pointer;-fno-sanitize-recover=all>")
  add_link_options("$<${clipwright_instrumented}:-fsanitize=${SANITIZE}>")
endif()
# Under ThreadSanitizer every instrumented program carries the filter that leaves out the races
# wholly inside the system's uninstrumented libraries (tests/sanitizers/library_races.cpp). It runs
# inside the checker's report, so it is not instrumented itself.
if(SANITIZE MATCHES "thread")
  add_library(clipwright_library_races OBJECT ${CMAKE_SOURCE_DIR}/tests/sanitizers/library_races.cpp)
  clipwright_build_tool(clipwright_library_races)
  link_libraries("$<$<AND:${clipwright_instrumented},$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>>:clipwright_library_races>")
endif()

# Release builds are hardened with the flags Debian's dpkg-buildflags gives a package: fortified
# libc calls, the stack protector, format checks, and relocations made read-only and bound when
# the program loads. Sanitizer and fuzzer builds (SANITIZE is set for both) keep their own
# instrumentation instead.
set(clipwright_release_types Release RelWithDebInfo MinSizeRel)
if(CMAKE_BUILD_TYPE IN_LIST clipwright_release_types AND NOT SANITIZE)
  set(CLIPWRIGHT_HARDENED ON)
  add_compile_options(-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2 -fstack-protector-strong -Wformat
                      -Werror=format-security)
  add_link_options(LINKER:-z,relro LINKER:-z,now)
  # The effects' pixel loops are IFUNCs (vector_clones.h) that GCC exports whatever the
  # visibility; bound at load time, a library's call of one cannot resolve to the copy in an
  # executable that links the effects too (a test). The static libraries' symbols stay inside
  # each shared library that links them.
  string(APPEND CMAKE_SHARED_LINKER_FLAGS " -Wl,--exclude-libs,ALL")
else()
  set(CLIPWRIGHT_HARDENED OFF)
endif()

# Warnings for our own targets only; third-party headers come in as system includes.
function(clipwright_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local
                         -Wno-missing-field-initializers)
  if(CLIPWRIGHT_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# Compiler cache when present: several checkouts and the CI clone share one cache, with paths
# taken relative to the source folder.
find_program(CCACHE_PROGRAM ccache)
if(CCACHE_PROGRAM)
  set(launcher ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${CMAKE_SOURCE_DIR} CCACHE_NOHASHDIR=1 ${CCACHE_PROGRAM})
  set(CMAKE_C_COMPILER_LAUNCHER ${launcher})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${launcher})
endif()
