# The program: Quorvel.exe in the build folder's app/.
if(WIN32 AND TARGET qv_framework AND TARGET qv_hexview AND TARGET qv_resources AND TARGET qv_formpos
   AND TARGET qv_config_font AND TARGET qv_drop AND TARGET qv_about AND TARGET qv_helprouter)
  add_executable(Quorvel WIN32 Quorvel.cpp Main.cpp Registration.cpp $<TARGET_OBJECTS:qv_resources>)
  quorvel_warnings(Quorvel)
  target_link_libraries(Quorvel PRIVATE qv_drop qv_about qv_helprouter qv_htmlhelp qv_hexview qv_formpos qv_config_font qv_framework)
  set_target_properties(Quorvel PROPERTIES OUTPUT_NAME Quorvel
                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endif()
