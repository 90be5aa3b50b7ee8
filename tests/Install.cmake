# The build's download packages: made and the zip unpacked as a user would
# (a fixture), then installed, started and uninstalled under Wine. Only in
# the cross builds, whose Wine prefix is the build's own: on Windows the
# setup would change the machine. The program saves its settings in the
# prefix's per-user folder, so the test takes turns with the others that
# use it.
if(CMAKE_CROSSCOMPILING)
  add_test(NAME ${QUORVEL_KIND_LABEL}MakePackages
    COMMAND ${CMAKE_COMMAND} -DCPACK=${CMAKE_CPACK_COMMAND} -DBUILD=${CMAKE_BINARY_DIR}
            -DPACKAGES=${QUORVEL_PACKAGE_DIRECTORY} -DNAME=${QUORVEL_PACKAGE_FILE_NAME}
            -P ${QUORVEL_ROOT}/cmake/MakePackages.cmake)
  set_tests_properties(${QUORVEL_KIND_LABEL}MakePackages PROPERTIES
    TIMEOUT 300 FIXTURES_SETUP ${QUORVEL_KIND_LABEL}packages)
  quorvel_test_tier(${QUORVEL_KIND_LABEL}MakePackages process)

  # The manifest gives all four parts of the version.
  set(_install_manifest_version "")
  foreach(_install_part MAJOR MINOR PATCH TWEAK)
    set(_install_number ${PROJECT_VERSION_${_install_part}})
    if(NOT _install_number MATCHES "^[0-9]+$")
      set(_install_number 0)
    endif()
    list(APPEND _install_manifest_version ${_install_number})
  endforeach()
  list(JOIN _install_manifest_version . _install_manifest_version)

  quorvel_test(InstallTest TIER process SOURCES InstallTest.cpp LIBS qv_endtoend Win32::ole32 Win32::uuid WINDOWS TIMEOUT 300)
  add_dependencies(InstallTest Quorvel)
  target_compile_definitions(InstallTest PRIVATE
    "QUORVEL_PACKAGE_FILE_NAME=\"${QUORVEL_PACKAGE_FILE_NAME}\"" "QUORVEL_VERSION=\"${PROJECT_VERSION}\""
    "QUORVEL_MANIFEST_VERSION=\"${_install_manifest_version}\"")
  set_tests_properties(${QUORVEL_KIND_LABEL}InstallTest PROPERTIES
    FIXTURES_REQUIRED ${QUORVEL_KIND_LABEL}packages RESOURCE_LOCK ${QUORVEL_APPDATA_LOCK})
endif()
