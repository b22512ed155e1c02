target_sources(pv_setup PRIVATE
  package/FileTable.cpp
  package/Unpack.cpp
  package/Volumes.cpp)
