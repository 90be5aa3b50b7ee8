quorvel_test(VxDropConstTest SOURCES VxDropConstTest.cpp LIBS qv_dropconst)
quorvel_test(VxDropBaseTest SOURCES VxDropBaseTest.cpp LIBS qv_dropbase)
quorvel_test(VxDropTest SOURCES VxDropTest.cpp LIBS qv_drop WINDOWS)
