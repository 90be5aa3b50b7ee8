quorvel_test(VXConfigTest SOURCES VXConfigTest.cpp LIBS qv_config)
