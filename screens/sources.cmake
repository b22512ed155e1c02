target_sources(pv_setup PRIVATE
  screens/Backdrop.cpp
  screens/Placeholders.cpp
  screens/Progress.cpp)
