quorvel_fuzzer(FontUtilsFuzzer SOURCES FontUtilsFuzzer.cpp LIBS qv_fontutils)
