# End-to-end test of the built program, on a desktop of its own. The program
# writes its configuration file in the prefix's application data, so the
# test holds that lock.
quorvel_test(QuorvelTest TIER process SOURCES QuorvelTest.cpp LIBS qv_testdriver qv_forms WINDOWS TIMEOUT 300)
add_dependencies(QuorvelTest Quorvel)
set_tests_properties(${QUORVEL_KIND_LABEL}QuorvelTest PROPERTIES RESOURCE_LOCK ${QUORVEL_APPDATA_LOCK})
