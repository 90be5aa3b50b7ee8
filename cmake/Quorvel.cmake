# Build helpers shared by every folder's CMakeLists.txt.

include_guard(GLOBAL)

set(QUORVEL_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

if(WIN32)
  set(QUORVEL_KIND windows)
elseif(QUORVEL_FUZZ)
  set(QUORVEL_KIND fuzz)
else()
  set(QUORVEL_KIND native)
endif()

# Warnings are errors for the project's own targets (not for GoogleTest).
function(quorvel_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX /permissive- /utf-8)
  else()
    target_compile_options(${target} PRIVATE
      -Wall -Wextra -Wpedantic -Wconversion -Wshadow -Werror)
  endif()
  target_include_directories(${target} PUBLIC ${QUORVEL_ROOT})
  if(WIN32)
    target_compile_definitions(${target} PUBLIC
      WIN32_LEAN_AND_MEAN NOMINMAX STRICT _WIN32_WINNT=0x0601 WINVER=0x0601)
  endif()
endfunction()

# The build's own name: native, fuzz, i686 or x86_64. Test names start with
# it, and so do the resource locks of what each build has for itself.
if(QUORVEL_KIND STREQUAL windows)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(QUORVEL_BUILD i686)
  else()
    set(QUORVEL_BUILD x86_64)
  endif()
else()
  set(QUORVEL_BUILD ${QUORVEL_KIND})
endif()
set(QUORVEL_KIND_LABEL ${QUORVEL_BUILD}.)

# Tests that use, or set aside, the per-user folder of the build's Wine
# prefix take turns. Each Windows build has a prefix of its own, so the two
# builds' tests need not wait for each other.
set(QUORVEL_APPDATA_LOCK ${QUORVEL_BUILD}_appdata)

set(QUORVEL_SANITIZE "")
if(QUORVEL_KIND STREQUAL native)
  set(QUORVEL_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
elseif(QUORVEL_KIND STREQUAL fuzz)
  set(QUORVEL_SANITIZE -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)
endif()
if(QUORVEL_SANITIZE)
  add_compile_options(${QUORVEL_SANITIZE})
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32 AND MINGW)
  # Self-contained executables: no MinGW runtime DLLs beside them under Wine.
  add_link_options(-static -static-libgcc -static-libstdc++)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    add_link_options(-Wl,--large-address-aware)
  endif()
elseif(MSVC AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_link_options(/LARGEADDRESSAWARE)
endif()
if(WIN32 AND CMAKE_CROSSCOMPILING)
  set(QUORVEL_WINE_KIND ${QUORVEL_BUILD})
  configure_file(${QUORVEL_ROOT}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh CACHE FILEPATH "" FORCE)
endif()

# The Windows system libraries as targets, so that with
# CMAKE_LINK_LIBRARIES_ONLY_TARGETS every name a target links is checked:
# a misspelt or renamed library fails at configure time instead of being
# passed to the linker, or silently dropped, as a plain name.
if(WIN32)
  foreach(_qv_system_library advapi32 comdlg32 gdi32 ole32 psapi shell32 user32 uuid version)
    add_library(Win32::${_qv_system_library} INTERFACE IMPORTED)
    set_target_properties(Win32::${_qv_system_library} PROPERTIES IMPORTED_LIBNAME ${_qv_system_library})
  endforeach()
endif()

# Window-free library: builds in every kind.
#   quorvel_library(NAME SOURCES ... [LIBS ...])
function(quorvel_library name)
  cmake_parse_arguments(Q "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${Q_SOURCES})
  quorvel_warnings(${name})
  if(Q_LIBS)
    target_link_libraries(${name} PUBLIC ${Q_LIBS})
  endif()
endfunction()

# GoogleTest is built from source with each toolchain.
set(QUORVEL_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source folder")

macro(quorvel_setup_googletest)
  if(NOT QUORVEL_KIND STREQUAL fuzz)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(${QUORVEL_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  endif()
endmacro()

# Test tiers, one CTest label each (the build's name is a second label):
#   unit     one process that needs no display: the native tests, and those
#            Windows tests that pass under Wine with no display at all
#            (window-free code, memory bitmaps, resources, file reads);
#   window   makes windows on the build's display;
#   process  starts the program, or a helper program on the product's
#            libraries, and drives or kills it;
#   fuzz     a libFuzzer target run for a bounded time.
set(QUORVEL_TIERS unit window process fuzz)

#   quorvel_test_tier(TEST TIER)
function(quorvel_test_tier test tier)
  if(NOT tier IN_LIST QUORVEL_TIERS)
    message(FATAL_ERROR "Test ${test}: tier '${tier}' is not one of ${QUORVEL_TIERS}")
  endif()
  set_tests_properties(${test} PROPERTIES LABELS "${tier};${QUORVEL_BUILD}")
endfunction()

# A GoogleTest executable, registered with CTest as one test.
#   quorvel_test(NAME TIER tier SOURCES ... LIBS ... [WINDOWS] [POINTER] [TIMEOUT s])
# WINDOWS marks a test that needs the Windows build (it runs under Wine);
# without it the test builds in the native and the Windows kind alike.
# POINTER marks a test that moves or reads the mouse pointer. Each Windows
# build has a display of its own, but any other window of the same build on
# it can report a position the pointer has already left. A CTest lock is
# exclusive, so one held by every window test of the build would make them
# all take turns; such a test runs with no other test beside it instead.
function(quorvel_test name)
  cmake_parse_arguments(Q "WINDOWS;POINTER" "TIMEOUT;TIER" "SOURCES;LIBS" ${ARGN})
  if(QUORVEL_KIND STREQUAL fuzz)
    return()
  endif()
  if(Q_WINDOWS AND NOT WIN32)
    return()
  endif()
  if(NOT Q_TIER)
    message(FATAL_ERROR "Test ${name} has no TIER")
  endif()
  add_executable(${name} ${Q_SOURCES})
  quorvel_warnings(${name})
  target_link_libraries(${name} PRIVATE ${Q_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  if(NOT Q_TIMEOUT)
    set(Q_TIMEOUT 120)
  endif()
  set(test ${QUORVEL_KIND_LABEL}${name})
  add_test(NAME ${test} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${test} PROPERTIES TIMEOUT ${Q_TIMEOUT} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  quorvel_test_tier(${test} ${Q_TIER})
  if(Q_POINTER)
    set_tests_properties(${test} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()

# A libFuzzer target over window-free code, run for QUORVEL_FUZZ_SECONDS as
# a test in the fuzz kind. Seeds come from fuzz/corpus/NAME when present.
#   quorvel_fuzzer(NAME SOURCES ... LIBS ...)
function(quorvel_fuzzer name)
  cmake_parse_arguments(Q "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT QUORVEL_KIND STREQUAL fuzz)
    return()
  endif()
  add_executable(${name} ${Q_SOURCES})
  quorvel_warnings(${name})
  target_link_libraries(${name} PRIVATE ${Q_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}-corpus)
  file(MAKE_DIRECTORY ${work})
  set(seeds "")
  if(EXISTS ${QUORVEL_ROOT}/fuzz/corpus/${name})
    set(seeds ${QUORVEL_ROOT}/fuzz/corpus/${name})
  endif()
  add_test(NAME fuzz.${name}
    COMMAND ${name} -max_total_time=${QUORVEL_FUZZ_SECONDS} -rss_limit_mb=2048
            -timeout=10 -print_final_stats=1 ${work} ${seeds})
  set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 600)
  quorvel_test_tier(fuzz.${name} fuzz)
endfunction()
