# End-to-end test of the built program. It presses keys (see
# FrameworkControls.cmake) and the program writes its configuration file in
# the prefix's application data, so it holds both locks.
if(WIN32 AND TARGET Quorvel AND TARGET qv_testdriver)
  quorvel_test(QuorvelTest SOURCES QuorvelTest.cpp LIBS qv_testdriver qv_forms WINDOWS TIMEOUT 300)
  add_dependencies(QuorvelTest Quorvel)
  set_tests_properties(${QUORVEL_KIND_LABEL}QuorvelTest PROPERTIES RESOURCE_LOCK "desktop_input;quorvel_appdata")
endif()
