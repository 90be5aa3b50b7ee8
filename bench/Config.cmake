# Configuration file timings; a plain program, run by hand.
add_executable(ConfigBench ConfigBench.cpp)
quorvel_warnings(ConfigBench)
target_link_libraries(ConfigBench PRIVATE qv_config)
