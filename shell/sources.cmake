target_sources(pv_setup PRIVATE
  shell/Shortcut.cpp
  shell/Uninstall.cpp)
