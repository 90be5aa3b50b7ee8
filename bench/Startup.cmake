# Start-up time of the program against a bare window with a menu and a
# child; run by hand under Wine (StartupBench.exe [runs]). It sets the
# per-user folder aside as the end-to-end tests do.
add_executable(StartupBareWindow WIN32 StartupBareWindow.cpp)
quorvel_warnings(StartupBareWindow)
add_executable(StartupBench StartupBench.cpp)
quorvel_warnings(StartupBench)
target_link_libraries(StartupBench PRIVATE qv_endtoend)
add_dependencies(StartupBench Quorvel StartupBareWindow)
