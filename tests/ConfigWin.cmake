# Under Wine: the real per-user folder, string resource and file system, and a
# second process writing the same file. It changes where the per-user folder
# lies, so it takes turns with the tests that use that folder.
add_executable(ConfigWriterHelper ConfigWriterHelper.cpp)
quorvel_warnings(ConfigWriterHelper)
target_link_libraries(ConfigWriterHelper PRIVATE qv_config)
quorvel_test(ConfigWinTest TIER process WINDOWS SOURCES ConfigWinTest.cpp ConfigWinTest.rc
             LIBS qv_config_win qv_testdriver Win32::advapi32
             TIMEOUT 180)
add_dependencies(ConfigWinTest ConfigWriterHelper)
set_tests_properties(${QUORVEL_KIND_LABEL}ConfigWinTest PROPERTIES RESOURCE_LOCK ${QUORVEL_APPDATA_LOCK})
