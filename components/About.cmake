# The About box and the dialog components it is made of: version label, link
# label and dialog button.
if(WIN32)
  add_library(qv_about STATIC
    ${CMAKE_CURRENT_SOURCE_DIR}/VXVerLabel.cpp ${CMAKE_CURRENT_SOURCE_DIR}/VXControls.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/VxButtons.cpp ${CMAKE_CURRENT_SOURCE_DIR}/FVXAbout.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/VXAbout.cpp)
  quorvel_warnings(qv_about)
  target_link_libraries(qv_about PUBLIC qv_stdctrls qv_versioninfo Win32::shell32 Win32::user32)
endif()
