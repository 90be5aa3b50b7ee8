quorvel_test(VxConfigTextTest TIER unit SOURCES VxConfigTextTest.cpp LIBS qv_config)
quorvel_test(VxMemIniFileTest TIER unit SOURCES VxMemIniFileTest.cpp LIBS qv_config)
quorvel_test(VxConfigFilesTest TIER unit SOURCES VxConfigFilesTest.cpp LIBS qv_config TIMEOUT 300)
# Processes killed while they save, natively and under Wine.
add_executable(ConfigSaveLoopHelper ConfigSaveLoopHelper.cpp)
quorvel_warnings(ConfigSaveLoopHelper)
target_link_libraries(ConfigSaveLoopHelper PRIVATE qv_config)
quorvel_test(ConfigSaveKillTest TIER process SOURCES ConfigSaveKillTest.cpp LIBS qv_config TIMEOUT 300)
add_dependencies(ConfigSaveKillTest ConfigSaveLoopHelper)
