# The program's resource script as an object library for the executable.
# Each form description becomes an RCDATA resource named after its file (the
# form class); Forms.rc listing them is generated.
set(QUORVEL_FORM_FILES
  ${CMAKE_CURRENT_SOURCE_DIR}/TMainForm.qform
  ${CMAKE_CURRENT_SOURCE_DIR}/TVXAboutForm.qform)
set(forms_rc "// Generated from the resources folder's form descriptions.\n")
foreach(form IN LISTS QUORVEL_FORM_FILES)
  get_filename_component(form_name ${form} NAME_WE)
  string(APPEND forms_rc "${form_name} RCDATA \"${form}\"\n")
endforeach()
file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/Forms.rc CONTENT "${forms_rc}")

add_library(qv_resources OBJECT Quorvel.rc)
target_include_directories(qv_resources PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_BINARY_DIR})
set(rc_depends
  ${CMAKE_CURRENT_SOURCE_DIR}/Quorvel.ico ${CMAKE_CURRENT_BINARY_DIR}/Quorvel.manifest
  ${CMAKE_CURRENT_SOURCE_DIR}/ResourceIds.h
  ${CMAKE_CURRENT_BINARY_DIR}/Forms.rc ${CMAKE_CURRENT_BINARY_DIR}/Version.rc ${QUORVEL_FORM_FILES})
set_source_files_properties(Quorvel.rc PROPERTIES OBJECT_DEPENDS "${rc_depends}")
