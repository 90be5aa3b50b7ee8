quorvel_test(VxDropConstTest SOURCES VxDropConstTest.cpp LIBS qv_dropconst)
