target_sources(pv_setup PRIVATE
  shell/Placeholders.cpp)
