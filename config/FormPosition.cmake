# The window position component: the owner form's placement kept in the
# program's configuration. Objects rather than an archive, so its class
# registration reaches every program that names it only in a description.
if(WIN32)
  add_library(qv_formpos OBJECT VxFormPosition.cpp)
  quorvel_warnings(qv_formpos)
  target_link_libraries(qv_formpos PUBLIC qv_config_win qv_framework Win32::user32)
endif()
