# The program's settings between runs, end to end. The tests that use the
# prefix's per-user configuration folder take turns.
quorvel_test(PersistenceTest TIER process SOURCES PersistenceTest.cpp
             LIBS qv_testdriver Win32::shell32 Win32::advapi32 WINDOWS
             TIMEOUT 600)
add_dependencies(PersistenceTest Quorvel)
set_tests_properties(${QUORVEL_KIND_LABEL}PersistenceTest PROPERTIES RESOURCE_LOCK ${QUORVEL_APPDATA_LOCK})
