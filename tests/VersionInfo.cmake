quorvel_test(VersionInfoTest TIER unit SOURCES VersionInfoTest.cpp LIBS qv_versioninfo)

# Under Wine: reading real executables, this test's own (with the program's
# version resource), one without any resource, and the program itself.
if(WIN32)
  set(_version_rc_dir ${CMAKE_CURRENT_BINARY_DIR}/VersionInfoFileTest)
  quorvel_configure_version_rc(${_version_rc_dir}/Version.rc)
  add_executable(VersionInfoNoResource VersionInfoNoResource.cpp)
  quorvel_warnings(VersionInfoNoResource)
  quorvel_test(VersionInfoFileTest TIER unit WINDOWS SOURCES VersionInfoFileTest.cpp VersionInfoFileTest.rc
               LIBS qv_versioninfo)
  target_include_directories(VersionInfoFileTest PRIVATE ${_version_rc_dir})
  add_dependencies(VersionInfoFileTest VersionInfoNoResource)
  math(EXPR _version_ms "(${PROJECT_VERSION_MAJOR} << 16) | ${PROJECT_VERSION_MINOR}" OUTPUT_FORMAT HEXADECIMAL)
  math(EXPR _version_ls "(${PROJECT_VERSION_PATCH} << 16) | ${PROJECT_VERSION_TWEAK}" OUTPUT_FORMAT HEXADECIMAL)
  if(QUORVEL_VERSION_FLAGS STREQUAL "0")
    set(_version_debug 0)
  else()
    set(_version_debug 1)
  endif()
  target_compile_definitions(VersionInfoFileTest PRIVATE
    QV_NO_RESOURCE_EXE="$<TARGET_FILE:VersionInfoNoResource>"
    QV_VERSION_TEXT="${QUORVEL_VERSION_TEXT}"
    QV_VERSION_MS=${_version_ms}u QV_VERSION_LS=${_version_ls}u QV_DEBUG_BUILD=${_version_debug})
  add_dependencies(VersionInfoFileTest Quorvel)
  target_compile_definitions(VersionInfoFileTest PRIVATE QV_APP_EXE="$<TARGET_FILE:Quorvel>")
endif()
