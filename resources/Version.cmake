# The program's version resource, which Quorvel.rc includes
# (quorvel_configure_version_rc is in cmake/QuorvelVersion.cmake).
quorvel_configure_version_rc(${CMAKE_BINARY_DIR}/resources/Version.rc)
