# The soak: one real Quorvel process through many cycles of use, with what
# it holds counted inside it. Run by hand for its figures
# (SoakBench.exe 10000 --dialogs 200); the test command runs 300 cycles
# and fails on any growth. It sets the per-user folder aside as the
# end-to-end tests do, so it takes turns with them.
add_executable(SoakBench SoakBench.cpp)
quorvel_warnings(SoakBench)
target_link_libraries(SoakBench PRIVATE qv_endtoend)
add_dependencies(SoakBench Quorvel EndToEndHook)
# Beside the tests: it finds the program and the hook library from there.
set_target_properties(SoakBench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
add_test(NAME ${QUORVEL_KIND_LABEL}Soak COMMAND SoakBench 300 --check)
set_tests_properties(${QUORVEL_KIND_LABEL}Soak PROPERTIES
  TIMEOUT 600 RESOURCE_LOCK ${QUORVEL_APPDATA_LOCK} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
quorvel_test_tier(${QUORVEL_KIND_LABEL}Soak process)
