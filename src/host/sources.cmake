# Portable: the action table, the localisation file and host text blocks.
list(APPEND KD_CORE_SOURCES
  ${KD_SRC}/host/ActionTable.cpp
  ${KD_SRC}/host/Localisation.cpp
  ${KD_SRC}/host/HostText.cpp)
# Win32: the host's callbacks, global blocks and the localisation file beside the host.
list(APPEND KD_WIN_SOURCES
  ${KD_SRC}/host/GlobalBlocks.cpp
  ${KD_SRC}/host/HostServices.cpp
  ${KD_SRC}/host/LocalisedText.cpp
  ${KD_SRC}/host/ModuleState.cpp)
