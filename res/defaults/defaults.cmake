# The archive of default files, resource 269 of type ZIP: systemset.ini and
# uninstall.ico, both deflated, in that order. Included by res/CMakeLists.txt
# once QUARROW_RC and QUARROW_RC_TARGETS are known.
find_program(QUARROW_PYTHON3 python3 HINTS /usr/bin REQUIRED)

set(QUARROW_DEFAULT_FILES ${CMAKE_CURRENT_LIST_DIR}/systemset.ini ${CMAKE_CURRENT_LIST_DIR}/uninstall.ico)
set(QUARROW_DEFAULTS_ZIP ${CMAKE_BINARY_DIR}/generated/defaults.zip)
set(QUARROW_DEFAULTS_RC ${CMAKE_BINARY_DIR}/generated/defaults_zip.rc)

add_custom_command(OUTPUT ${QUARROW_DEFAULTS_ZIP}
                   COMMAND ${QUARROW_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/make_defaults_zip.py
                           ${QUARROW_DEFAULTS_ZIP} ${QUARROW_DEFAULT_FILES}
                   DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_defaults_zip.py ${QUARROW_DEFAULT_FILES}
                   COMMENT "Packing the default files into defaults.zip")
add_custom_target(defaults_zip DEPENDS ${QUARROW_DEFAULTS_ZIP})
file(CONFIGURE OUTPUT ${QUARROW_DEFAULTS_RC}
     CONTENT "IDR_DEFAULTS_ZIP ZIP \"${QUARROW_DEFAULTS_ZIP}\"\n")

set_property(SOURCE ${QUARROW_RC} TARGET_DIRECTORY ${QUARROW_RC_TARGETS} APPEND PROPERTY OBJECT_DEPENDS
             ${QUARROW_DEFAULTS_ZIP} ${QUARROW_DEFAULTS_RC})
foreach(target ${QUARROW_RC_TARGETS})
  add_dependencies(${target} defaults_zip)
endforeach()
