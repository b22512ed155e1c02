# The Windows programs: SETUP.EXE and the tests that run under Wine.
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -O coff")

# Small is a feature: SETUP.EXE shares disk 1 with the first volume.
add_compile_options(-Os -ffunction-sections -fdata-sections)
add_link_options(-static -Wl,--gc-sections)

# Each subsystem lists its own sources.
add_library(pv_setup STATIC)
foreach(subsystem setup screens package shell)
  include(${subsystem}/sources.cmake)
endforeach()
target_link_libraries(pv_setup PUBLIC pv_portable ole32 uuid shell32 advapi32 gdi32 user32)
pv_warnings(pv_setup)

# One executable per resource set: the product's, and two that lack a template, for the
# end-to-end tests of the sequence's decision table.
function(pv_setup_exe name output)
  add_executable(${name} WIN32 setup/Main.cpp resources/setup.rc)
  set_target_properties(${name} PROPERTIES OUTPUT_NAME ${output})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/resources)
  target_link_libraries(${name} PRIVATE pv_setup)
  target_link_options(${name} PRIVATE -s)
  pv_warnings(${name})
endfunction()
pv_setup_exe(setup SETUP)
pv_setup_exe(setup_without_license SETUP-NOLICENSE)
target_compile_definitions(setup_without_license PRIVATE PV_WITHOUT_LICENSE)
pv_setup_exe(setup_without_main SETUP-NOMAIN)
target_compile_definitions(setup_without_main PRIVATE PV_WITHOUT_MAIN)
set_source_files_properties(resources/setup.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/resources/logo.bmp;${CMAKE_SOURCE_DIR}/resources/setup.ico")

include(demo/windows.cmake)

# The tests need GoogleTest, which needs the posix thread model.
if(PV_THREAD_MODEL STREQUAL posix)
  add_subdirectory(tests/wine)
endif()
