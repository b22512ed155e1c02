# The dialogs in-process, on the real templates; screenshots go to build/screens.
add_executable(wine_screens ScreensTest.cpp ${CMAKE_SOURCE_DIR}/resources/setup.rc)
target_link_libraries(wine_screens PRIVATE pv_setup gtest)
target_include_directories(wine_screens PRIVATE ${CMAKE_SOURCE_DIR}/resources)
pv_warnings(wine_screens)
pv_shot_command(wine_screens_command $<TARGET_FILE:wine_screens>)
add_test(NAME wine_screens COMMAND ${wine_screens_command})

# The real SETUP.EXE driven by the robot, one scenario each.
pv_robot_test(robot_screens_cancel ${CMAKE_CURRENT_SOURCE_DIR}/screens/cancel.txt)
pv_robot_test(robot_screens_agreement_exit ${CMAKE_CURRENT_SOURCE_DIR}/screens/agreement-exit.txt)

# The backdrop's pixels, from the screenshot that the cancel scenario takes.
add_executable(wine_backdrop_shot BackdropShotTest.cpp)
target_link_libraries(wine_backdrop_shot PRIVATE gtest)
pv_warnings(wine_backdrop_shot)
add_test(NAME wine_backdrop_shot COMMAND wine_backdrop_shot ${PV_SHOT_DIR}/backdrop.ppm
  ${CMAKE_SOURCE_DIR}/resources/logo.bmp)
set_tests_properties(robot_screens_cancel PROPERTIES FIXTURES_SETUP backdrop_shot)
set_tests_properties(wine_backdrop_shot PROPERTIES FIXTURES_REQUIRED backdrop_shot)
