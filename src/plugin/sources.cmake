# Win32: the entry points' behaviour (Exports.cpp is the DLL's own source).
list(APPEND KD_WIN_SOURCES
  ${KD_SRC}/plugin/EntryPoints.cpp)
