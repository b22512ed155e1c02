target_sources(pv_setup PRIVATE
  package/Unpack.cpp
  package/Volumes.cpp)
