# The demo product's real programs: its main program and its uninstaller.
add_executable(pictavorn_main WIN32 demo/Pictavorn.cpp demo/pictavorn.rc)
set_target_properties(pictavorn_main PROPERTIES OUTPUT_NAME Pictavorn)
target_include_directories(pictavorn_main PRIVATE ${CMAKE_SOURCE_DIR}/resources)
target_link_options(pictavorn_main PRIVATE -s)
pv_warnings(pictavorn_main)

add_executable(pictavorn_uninstaller WIN32 demo/Uninstal.cpp)
set_target_properties(pictavorn_uninstaller PROPERTIES OUTPUT_NAME Uninstal)
target_include_directories(pictavorn_uninstaller PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(pictavorn_uninstaller PRIVATE ole32 uuid)
target_compile_options(pictavorn_uninstaller PRIVATE -fno-exceptions -fno-rtti)
target_link_options(pictavorn_uninstaller PRIVATE -s)
pv_warnings(pictavorn_uninstaller)
