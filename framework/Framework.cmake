# The window-free half of the framework: components, form descriptions and
# their reader, shortcut texts.
quorvel_library(qv_forms
  SOURCES Component.cpp ComponentClass.cpp FormParser.cpp FormReader.cpp ShortCuts.cpp
  LIBS qv_errors)

# The Windows half: handles, graphics, controls, forms, the application
# object, menus and common dialogs.
if(WIN32)
  add_library(qv_framework STATIC
    Handles.cpp Graphics.cpp Controls.cpp WinControls.cpp Forms.cpp Application.cpp Menus.cpp Dialogs.cpp
    FrameworkClasses.cpp)
  quorvel_warnings(qv_framework)
  target_link_libraries(qv_framework PUBLIC qv_forms qv_errors user32 gdi32 comdlg32 ole32)
endif()

# The test driver (tests/support): defined here, before the test folder, so
# that every test fragment can use it.
if(WIN32)
  add_library(qv_testdriver STATIC ${QUORVEL_ROOT}/tests/support/TestDriver.cpp)
  quorvel_warnings(qv_testdriver)
  target_link_libraries(qv_testdriver PUBLIC user32 gdi32)
endif()
