# The window position component: the owner form's placement kept in the
# program's configuration.
if(WIN32 AND TARGET qv_framework AND TARGET qv_config_win)
  add_library(qv_formpos STATIC VxFormPosition.cpp)
  quorvel_warnings(qv_formpos)
  target_link_libraries(qv_formpos PUBLIC qv_config_win qv_framework user32)
endif()
