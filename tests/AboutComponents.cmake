# Version label, link label, dialog button and About box, under Wine. Test
# programs carry their own version resource of 1.7.0.22 (or none at all).
set(_about_rc_dir ${CMAKE_CURRENT_BINARY_DIR}/AboutResources)
# Flags as in a release build; with DEBUG, PRIVATE and SPECIAL set but
# PRIVATE masked out; and no version resource, just the form.
set(ABOUT_FLAGS_MASK 0x3F)
set(ABOUT_FLAGS 0)
set(ABOUT_FORM_INCLUDE "")
configure_file(AboutVersion.rc.in ${_about_rc_dir}/ReleaseVersion.rc @ONLY)
set(ABOUT_FLAGS_MASK 0x21)
set(ABOUT_FLAGS 0x29)
set(ABOUT_FORM_INCLUDE "#include \"resources/About.rc\"")
configure_file(AboutVersion.rc.in ${_about_rc_dir}/SpecialVersion.rc @ONLY)
file(WRITE ${_about_rc_dir}/NoVersion.rc.tmp "#include \"resources/About.rc\"\n")
configure_file(${_about_rc_dir}/NoVersion.rc.tmp ${_about_rc_dir}/NoVersion.rc COPYONLY)

quorvel_test(VXVerLabelTest TIER unit WINDOWS SOURCES VXVerLabelTest.cpp ${_about_rc_dir}/ReleaseVersion.rc
             LIBS qv_about)
quorvel_test(VXControlsTest TIER window WINDOWS POINTER SOURCES VXControlsTest.cpp LIBS qv_about qv_testdriver)
quorvel_test(VxButtonsTest TIER window WINDOWS SOURCES VxButtonsTest.cpp LIBS qv_about qv_testdriver)
quorvel_test(FVXAboutTest TIER window WINDOWS SOURCES FVXAboutTest.cpp ${_about_rc_dir}/SpecialVersion.rc
             LIBS qv_about qv_testdriver)
quorvel_test(VXAboutTest TIER unit WINDOWS SOURCES VXAboutTest.cpp ${_about_rc_dir}/NoVersion.rc LIBS qv_about)
set_source_files_properties(${_about_rc_dir}/SpecialVersion.rc ${_about_rc_dir}/NoVersion.rc
  PROPERTIES OBJECT_DEPENDS ${QUORVEL_ROOT}/resources/TVXAboutForm.qform)
