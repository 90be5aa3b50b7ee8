quorvel_test(ExceptionsTest TIER unit SOURCES ExceptionsTest.cpp LIBS qv_errors)
