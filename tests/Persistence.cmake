# The program's settings between runs, end to end. The tests that use the
# prefix's per-user configuration folder take turns.
if(WIN32 AND TARGET Quorvel AND TARGET qv_testdriver)
  quorvel_test(PersistenceTest SOURCES PersistenceTest.cpp LIBS qv_testdriver shell32 advapi32 WINDOWS TIMEOUT 600)
  add_dependencies(PersistenceTest Quorvel)
  set_tests_properties(${QUORVEL_KIND_LABEL}PersistenceTest PROPERTIES RESOURCE_LOCK quorvel_appdata)
endif()
# Other tests that start the program or change where its folder lies.
foreach(_qv_appdata_test ConfigWinTest QuorvelTest)
  if(TEST ${QUORVEL_KIND_LABEL}${_qv_appdata_test})
    set_tests_properties(${QUORVEL_KIND_LABEL}${_qv_appdata_test} PROPERTIES RESOURCE_LOCK quorvel_appdata)
  endif()
endforeach()
