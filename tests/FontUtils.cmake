quorvel_test(FontUtilsTest SOURCES FontUtilsTest.cpp LIBS qv_fontutils)
