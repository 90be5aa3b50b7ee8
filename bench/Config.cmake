# Configuration file timings; a plain program, run by hand.
if(NOT QUORVEL_KIND STREQUAL fuzz)
  add_executable(ConfigBench ConfigBench.cpp)
  quorvel_warnings(ConfigBench)
  target_link_libraries(ConfigBench PRIVATE qv_config)
endif()
