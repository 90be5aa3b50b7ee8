quorvel_library(qv_helppaths SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/VxHelpPaths.cpp)

if(WIN32)
  add_library(qv_htmlhelp STATIC ${CMAKE_CURRENT_SOURCE_DIR}/VxHtmlHelpApi.cpp)
  quorvel_warnings(qv_htmlhelp)
  target_link_libraries(qv_htmlhelp PUBLIC qv_errors)
endif()
