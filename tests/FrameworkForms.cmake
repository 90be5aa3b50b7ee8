# Window-free framework tests: components, the description format, the
# reader, shortcut texts.
quorvel_test(ComponentTest TIER unit SOURCES ComponentTest.cpp LIBS qv_forms)
quorvel_test(FormParserTest TIER unit SOURCES FormParserTest.cpp LIBS qv_forms)
quorvel_test(FormReaderTest TIER unit SOURCES FormReaderTest.cpp LIBS qv_forms)
quorvel_test(ShortCutsTest TIER unit SOURCES ShortCutsTest.cpp LIBS qv_forms)
