# The font setting: a configuration item over the framework's font.
if(WIN32)
  add_library(qv_config_font STATIC VXConfigFont.cpp)
  quorvel_warnings(qv_config_font)
  target_link_libraries(qv_config_font PUBLIC qv_config qv_fontutils qv_framework)
endif()
