# Portable: the action table, the localisation file and host text blocks.
list(APPEND KD_CORE_SOURCES
  ${KD_SRC}/plugin/ActionTable.cpp
  ${KD_SRC}/plugin/Localisation.cpp
  ${KD_SRC}/plugin/HostText.cpp)
# Win32: entry points and host services.
list(APPEND KD_WIN_SOURCES
  ${KD_SRC}/plugin/EntryPoints.cpp
  ${KD_SRC}/plugin/GlobalBlocks.cpp
  ${KD_SRC}/plugin/HostServices.cpp
  ${KD_SRC}/plugin/LocalisedText.cpp)
