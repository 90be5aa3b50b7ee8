quorvel_test(ExceptionsTest SOURCES ExceptionsTest.cpp LIBS qv_errors)
