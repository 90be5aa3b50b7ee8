quorvel_library(qv_helppaths SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/VxHelpPaths.cpp)

if(WIN32)
  add_library(qv_htmlhelp STATIC ${CMAKE_CURRENT_SOURCE_DIR}/VxHtmlHelpApi.cpp)
  quorvel_warnings(qv_htmlhelp)
  target_link_libraries(qv_htmlhelp PUBLIC qv_win)

  # The router needs the windowed framework.
  add_library(qv_helprouter STATIC ${CMAKE_CURRENT_SOURCE_DIR}/VxHelpRouter.cpp)
  quorvel_warnings(qv_helprouter)
  target_link_libraries(qv_helprouter PUBLIC qv_htmlhelp qv_helppaths qv_framework Win32::user32)
endif()
