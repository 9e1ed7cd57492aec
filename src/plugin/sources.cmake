# Portable: the action table and the localisation file.
list(APPEND KD_CORE_SOURCES
  ${KD_SRC}/plugin/ActionTable.cpp
  ${KD_SRC}/plugin/Localisation.cpp)
# Win32: entry points and host services.
list(APPEND KD_WIN_SOURCES
  ${KD_SRC}/plugin/EntryPoints.cpp
  ${KD_SRC}/plugin/HostServices.cpp
  ${KD_SRC}/plugin/HostLocale.cpp)
