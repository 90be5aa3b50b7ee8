quorvel_test(VxDropConstTest TIER unit SOURCES VxDropConstTest.cpp LIBS qv_dropconst)
quorvel_test(VxDropBaseTest TIER unit SOURCES VxDropBaseTest.cpp LIBS qv_dropbase)
quorvel_test(VxDropTest TIER window SOURCES VxDropTest.cpp LIBS qv_drop WINDOWS)
