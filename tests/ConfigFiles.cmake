quorvel_test(VxConfigTextTest SOURCES VxConfigTextTest.cpp LIBS qv_config)
quorvel_test(VxMemIniFileTest SOURCES VxMemIniFileTest.cpp LIBS qv_config)
quorvel_test(VxConfigFilesTest SOURCES VxConfigFilesTest.cpp LIBS qv_config TIMEOUT 300)
