quorvel_fuzzer(ConfigLoadFuzzer SOURCES ConfigLoadFuzzer.cpp LIBS qv_config)
quorvel_fuzzer(ConfigTextFuzzer SOURCES ConfigTextFuzzer.cpp LIBS qv_config)
