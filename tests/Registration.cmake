# The program's registration calls checked in-process against the program's
# own form descriptions, linked in from the program's resource objects.
# Globbed on purpose: a description in the folder that the program does not
# link is what the test is there to catch.
file(GLOB _reg_forms CONFIGURE_DEPENDS ${QUORVEL_ROOT}/resources/*.qform)
set(_reg_names "")
foreach(_reg_form IN LISTS _reg_forms)
  get_filename_component(_reg_name ${_reg_form} NAME_WE)
  list(APPEND _reg_names ${_reg_name})
endforeach()
list(JOIN _reg_names "," _reg_names)
quorvel_test(RegistrationTest TIER unit WINDOWS
  SOURCES RegistrationTest.cpp ${QUORVEL_ROOT}/app/Registration.cpp $<TARGET_OBJECTS:qv_resources>
  LIBS qv_drop qv_about qv_helprouter qv_hexview qv_formpos qv_framework)
target_compile_definitions(RegistrationTest PRIVATE "QUORVEL_FORM_NAMES=\"${_reg_names}\"")
