# Installing the product's files under Wine: the copying and unpacking steps end to end.
# The encoder builds in too, so that each case makes the small product it needs.
pv_wine_test(wine_package PackageTest.cpp ${CMAKE_SOURCE_DIR}/resources/setup.rc
             ${CMAKE_SOURCE_DIR}/tools/LzhEncode.cpp)

# The demo product's disks, laid out by the native disk tool.
set(pv_demo ${PV_NATIVE_BUILD}/demo)
set(pv_demo_disks ${CMAKE_BINARY_DIR}/package-demo-disks)
add_custom_command(
  OUTPUT ${pv_demo_disks}/disk1/SETUP.EXE
  COMMAND ${PV_NATIVE_BUILD}/tools/pictdisk build ${pv_demo}/product.txt
          --setup ${pv_demo}/setup-standin.exe --out ${pv_demo_disks}
  DEPENDS ${pv_demo}/product.txt ${PV_NATIVE_BUILD}/tools/pictdisk
  COMMENT "Laying out the demo disks for the package tests")
add_custom_target(wine_package_disks ALL DEPENDS ${pv_demo_disks}/disk1/SETUP.EXE)
add_dependencies(wine_package wine_package_disks)
target_compile_definitions(wine_package PRIVATE PV_DEMO_DIR="${pv_demo}"
                           PV_DEMO_DISKS="${pv_demo_disks}")

# A small disk of its own for the destination that fills up: a tmpfs at drive P: of the
# bench's Wine prefix, for the time of the tests.
set(pv_small_disk ${CMAKE_BINARY_DIR}/package-small-disk)
add_test(NAME wine_package_small_disk_up
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/small-disk.sh up ${pv_small_disk} p:)
add_test(NAME wine_package_small_disk_down
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/small-disk.sh down ${pv_small_disk} p:)
set_tests_properties(wine_package_small_disk_up PROPERTIES FIXTURES_SETUP pv_small_disk)
set_tests_properties(wine_package_small_disk_down PROPERTIES FIXTURES_CLEANUP pv_small_disk)
set_tests_properties(wine_package PROPERTIES FIXTURES_REQUIRED pv_small_disk)
