quorvel_test(FontUtilsTest TIER unit SOURCES FontUtilsTest.cpp LIBS qv_fontutils)
