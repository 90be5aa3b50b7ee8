include_guard(GLOBAL)

# The version resource: numbers from project(Quorvel VERSION ...), flags from
# the build type (none in release builds).
#   quorvel_configure_version_rc(OUTPUT) writes a configured copy of
#   Version.rc.in to OUTPUT and leaves the numbers and texts it used in the
#   caller's scope (QUORVEL_VERSION_TEXT, QUORVEL_VERSION_FLAGS,
#   PROJECT_VERSION_MAJOR to _TWEAK); the program's own is resources/Version.rc in the
#   build folder, which resources/Quorvel.rc includes.
function(quorvel_configure_version_rc output)
  foreach(part MAJOR MINOR PATCH TWEAK)
    if(NOT PROJECT_VERSION_${part} MATCHES "^[0-9]+$")
      set(PROJECT_VERSION_${part} 0)
    endif()
  endforeach()
  set(QUORVEL_VERSION_COMMAS
      "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},${PROJECT_VERSION_TWEAK}")
  set(QUORVEL_VERSION_TEXT
      "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.${PROJECT_VERSION_TWEAK}")
  if(CMAKE_BUILD_TYPE STREQUAL "Debug")
    set(QUORVEL_VERSION_FLAGS "VS_FF_DEBUG")
  else()
    set(QUORVEL_VERSION_FLAGS "0")
  endif()
  # Honours SOURCE_DATE_EPOCH, so reproducible builds stay reproducible.
  string(TIMESTAMP QUORVEL_VERSION_YEAR "%Y")
  configure_file(${QUORVEL_ROOT}/resources/Version.rc.in ${output} @ONLY)
  foreach(name QUORVEL_VERSION_TEXT QUORVEL_VERSION_FLAGS
               PROJECT_VERSION_MAJOR PROJECT_VERSION_MINOR PROJECT_VERSION_PATCH PROJECT_VERSION_TWEAK)
    set(${name} ${${name}} PARENT_SCOPE)
  endforeach()
endfunction()
