# Under Wine: the real per-user folder, string resource and file system, and a
# second process writing the same file.
if(WIN32 AND NOT QUORVEL_KIND STREQUAL fuzz)
  add_executable(ConfigWriterHelper ConfigWriterHelper.cpp)
  quorvel_warnings(ConfigWriterHelper)
  target_link_libraries(ConfigWriterHelper PRIVATE qv_config)
  quorvel_test(ConfigWinTest WINDOWS SOURCES ConfigWinTest.cpp ConfigWinTest.rc LIBS qv_config_win qv_testdriver advapi32 TIMEOUT 180)
  add_dependencies(ConfigWinTest ConfigWriterHelper)
endif()
