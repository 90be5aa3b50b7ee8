# The window position component: the owner form's placement kept in the
# program's configuration.
if(WIN32)
  add_library(qv_formpos STATIC VxFormPosition.cpp)
  quorvel_warnings(qv_formpos)
  target_link_libraries(qv_formpos PUBLIC qv_config_win qv_framework Win32::user32)
endif()
