pv_unit_test(unit_screens BackdropMathTest.cpp MeterMathTest.cpp DialogRulesTest.cpp)
