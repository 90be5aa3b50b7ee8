# The form-description writer is window-free; labels, buttons, images and
# bevels stand on the windowed framework.
quorvel_library(qv_formwriter SOURCES FormWriter.cpp LIBS qv_forms)

if(WIN32)
  add_library(qv_stdctrls STATIC StdCtrls.cpp ExtCtrls.cpp)
  quorvel_warnings(qv_stdctrls)
  target_link_libraries(qv_stdctrls PUBLIC qv_framework qv_formwriter Win32::user32 Win32::gdi32)
endif()
