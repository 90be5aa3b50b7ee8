# End-to-end test of the built program.
if(WIN32 AND TARGET Quorvel AND TARGET qv_testdriver)
  quorvel_test(QuorvelTest SOURCES QuorvelTest.cpp LIBS qv_testdriver WINDOWS TIMEOUT 300)
  add_dependencies(QuorvelTest Quorvel)
endif()
