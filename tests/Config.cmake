quorvel_test(VXConfigTest TIER unit SOURCES VXConfigTest.cpp LIBS qv_config)
