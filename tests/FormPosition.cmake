# The window position component on real forms under Wine. Its configuration
# file lies in the prefix's per-user folder beside the program's, so it
# shares the lock of the tests that use that folder.
quorvel_test(VxFormPositionTest TIER window WINDOWS SOURCES VxFormPositionTest.cpp FormPositionTest.rc LIBS qv_formpos
             TIMEOUT 300)
set_tests_properties(${QUORVEL_KIND_LABEL}VxFormPositionTest PROPERTIES RESOURCE_LOCK ${QUORVEL_APPDATA_LOCK})
