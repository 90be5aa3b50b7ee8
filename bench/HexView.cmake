# Benchmarks of the hex viewer: plain Windows programs, run by hand under
# Wine (not tests).
foreach(bench HexViewLoadBench HexViewPaintBench HexViewScrollBench)
  add_executable(${bench} ${bench}.cpp HexViewBenchSupport.cpp)
  quorvel_warnings(${bench})
  target_link_libraries(${bench} PRIVATE qv_hexview qv_testdriver Win32::psapi)
endforeach()
