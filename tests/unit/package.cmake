pv_unit_test(unit_package PackageRulesTest.cpp)
# The look-ahead rule is checked against real streams of the encoder.
target_link_libraries(unit_package PRIVATE pv_encoder)
