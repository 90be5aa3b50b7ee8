# The form-description writer is window-free; labels, buttons, images and
# bevels stand on the windowed framework.
if(TARGET qv_forms)
  quorvel_library(qv_formwriter SOURCES FormWriter.cpp LIBS qv_forms)
endif()

if(WIN32 AND TARGET qv_framework)
  add_library(qv_stdctrls STATIC StdCtrls.cpp ExtCtrls.cpp)
  quorvel_warnings(qv_stdctrls)
  target_link_libraries(qv_stdctrls PUBLIC qv_framework qv_formwriter user32 gdi32)
endif()
