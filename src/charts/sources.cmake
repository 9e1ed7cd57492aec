# Portable: the parameter conversions.
list(APPEND KD_CORE_SOURCES
  ${KD_SRC}/charts/Conversions.cpp
  ${KD_SRC}/charts/ColorNames.cpp)
# Win32: registry, chart window, dispatch and the action families.
list(APPEND KD_WIN_SOURCES
  ${KD_SRC}/charts/ExecDispatch.cpp
  ${KD_SRC}/charts/ChartRegistry.cpp)
