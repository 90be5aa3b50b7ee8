# The font setting: a configuration item over the framework's font.
# qv_fontutils comes from a fragment read after this one.
if(WIN32 AND TARGET qv_framework AND TARGET qv_config)
  add_library(qv_config_font STATIC VXConfigFont.cpp)
  quorvel_warnings(qv_config_font)
  target_link_libraries(qv_config_font PUBLIC qv_config qv_fontutils qv_framework)
endif()
