# The window-free half of the framework: components, form descriptions and
# their reader, shortcut texts.
quorvel_library(qv_forms
  SOURCES Component.cpp ComponentClass.cpp FormParser.cpp FormReader.cpp ShortCuts.cpp
  LIBS qv_errors)

# The Windows half: handles, graphics, controls, forms, the application
# object, menus and common dialogs.
if(WIN32)
  add_library(qv_framework STATIC
    Graphics.cpp Controls.cpp WinControls.cpp Forms.cpp Application.cpp Menus.cpp Dialogs.cpp
    FrameworkClasses.cpp)
  quorvel_warnings(qv_framework)
  target_link_libraries(qv_framework PUBLIC qv_forms qv_win Win32::user32 Win32::gdi32)

  # The test driver and the helpers the tests and benchmarks share
  # (tests/support), which test programs link.
  add_library(qv_testdriver STATIC ${QUORVEL_ROOT}/tests/support/TestDriver.cpp
              ${QUORVEL_ROOT}/tests/support/PerUserFolder.cpp ${QUORVEL_ROOT}/tests/support/HostWindow.cpp)
  quorvel_warnings(qv_testdriver)
  target_link_libraries(qv_testdriver PUBLIC qv_framework Win32::user32 Win32::gdi32 Win32::shell32 Win32::advapi32)
endif()
