# Native programs: the disk-building tool, the demo product and the fast unit tests.
find_package(GTest REQUIRED)
add_compile_options(-Wall -Wextra -Werror)
foreach(dir tools demo tests/native tests/unit)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endforeach()
