quorvel_test(VxHexLayoutTest TIER unit SOURCES VxHexLayoutTest.cpp LIBS qv_hexlayout)
quorvel_test(VxHexNavigationTest TIER unit SOURCES VxHexNavigationTest.cpp LIBS qv_hexlayout)
if(WIN32)
  # Also loads a file just under 2 GiB: give it time under Wine.
  quorvel_test(VxMemoryStreamTest TIER unit SOURCES VxMemoryStreamTest.cpp HexViewTestSupport.cpp
               LIBS qv_hexgdi qv_testdriver TIMEOUT 300)
  quorvel_test(VxHexPaintTest TIER unit SOURCES VxHexPaintTest.cpp HexViewTestSupport.cpp LIBS qv_hexgdi qv_testdriver WINDOWS)
  quorvel_test(VxHexViewerTest TIER window SOURCES VxHexViewerTest.cpp HexViewerFixture.cpp HexViewTestSupport.cpp
               LIBS qv_hexview qv_testdriver WINDOWS TIMEOUT 300)
  # Drags the scroll bar's thumb with the mouse.
  quorvel_test(VxHexViewerScrollTest TIER window
               SOURCES VxHexViewerScrollTest.cpp HexViewerFixture.cpp HexViewTestSupport.cpp
               LIBS qv_hexview qv_testdriver WINDOWS POINTER TIMEOUT 300)
else()
  quorvel_test(VxMemoryStreamTest TIER unit SOURCES VxMemoryStreamTest.cpp LIBS qv_hexlayout)
endif()
