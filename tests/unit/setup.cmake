pv_unit_test(unit_paths PathTextTest.cpp)
