target_sources(pv_setup PRIVATE
  setup/Config.cpp
  setup/FileIo.cpp
  setup/Paths.cpp
  setup/Registry.cpp
  setup/RunState.cpp
  setup/Setup.cpp)
