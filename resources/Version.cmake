# The program's version resource, which Quorvel.rc includes
# (quorvel_configure_version_rc is in cmake/QuorvelVersion.cmake).
quorvel_configure_version_rc(${CMAKE_BINARY_DIR}/resources/Version.rc)

# The application manifest carries the same four-part version.
configure_file(${QUORVEL_ROOT}/resources/Quorvel.manifest.in ${CMAKE_BINARY_DIR}/resources/Quorvel.manifest @ONLY)
