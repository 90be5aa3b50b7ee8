# Window-free framework tests: components, the description format, the
# reader, shortcut texts.
quorvel_test(ComponentTest SOURCES ComponentTest.cpp LIBS qv_forms)
quorvel_test(FormParserTest SOURCES FormParserTest.cpp LIBS qv_forms)
quorvel_test(FormReaderTest SOURCES FormReaderTest.cpp LIBS qv_forms)
quorvel_test(ShortCutsTest SOURCES ShortCutsTest.cpp LIBS qv_forms)
