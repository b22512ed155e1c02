# The shortcut, the uninstall entry and the launch, with the real shell steps. The stand-in
# for the installed main program is built next to the test, which copies it into place.
add_executable(shell_launched WIN32 ShellLaunched.cpp)
pv_warnings(shell_launched)
pv_wine_test(wine_shell ShellTest.cpp ShellLinkFile.cpp ${CMAKE_SOURCE_DIR}/resources/setup.rc)
add_dependencies(wine_shell shell_launched)
# The same shortcut through lnkinfo, an independent reader of the format.
add_test(NAME wine_shell_lnkinfo COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/lnkinfo-check.sh
  ${CMAKE_CURRENT_BINARY_DIR}/shell-test.lnk ${CMAKE_CURRENT_BINARY_DIR}/shell-test.expected)
set_tests_properties(wine_shell PROPERTIES FIXTURES_SETUP shell_link)
set_tests_properties(wine_shell_lnkinfo PROPERTIES FIXTURES_REQUIRED shell_link)
