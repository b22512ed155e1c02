pv_unit_test(unit_paths PathTextTest.cpp)

# The templates are checked in the form windres gives them, compiled here from the same .rc.
find_program(PV_WINDRES NAMES i686-w64-mingw32-windres REQUIRED)
set(pv_res ${CMAKE_CURRENT_BINARY_DIR}/setup.res)
add_custom_command(OUTPUT ${pv_res}
  COMMAND ${PV_WINDRES} -O res -I ${CMAKE_SOURCE_DIR}/resources
          ${CMAKE_SOURCE_DIR}/resources/setup.rc -o ${pv_res}
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/setup.rc ${CMAKE_SOURCE_DIR}/resources/logo.bmp
          ${CMAKE_SOURCE_DIR}/resources/setup.ico)
add_custom_target(unit_templates_res DEPENDS ${pv_res})
pv_unit_test(unit_templates TemplatesTest.cpp)
add_dependencies(unit_templates unit_templates_res)
target_compile_definitions(unit_templates PRIVATE PV_SETUP_RES="${pv_res}")

# The product binary comes from the 32-bit Windows build beside this one.
set(PV_PRODUCT_EXE "" CACHE FILEPATH "SETUP.EXE of the product build")
if(PV_PRODUCT_EXE)
  add_test(NAME setup_binary COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check-setup-binary.sh
           ${PV_PRODUCT_EXE})
endif()
