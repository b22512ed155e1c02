target_sources(pv_setup PRIVATE
  screens/Backdrop.cpp
  screens/Destination.cpp
  screens/Group.cpp
  screens/License.cpp
  screens/Progress.cpp)
