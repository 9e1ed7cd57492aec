# Portable: the parameter conversions and the record table's texts.
list(APPEND KD_CORE_SOURCES
  ${KD_SRC}/charts/Conversions.cpp
  ${KD_SRC}/charts/ColorNames.cpp
  ${KD_SRC}/charts/RecordRows.cpp)
# Win32: registry, chart window, dispatch and the action families.
list(APPEND KD_WIN_SOURCES
  ${KD_SRC}/charts/ActionRoutines.cpp
  ${KD_SRC}/charts/ChartRegistry.cpp
  ${KD_SRC}/charts/NeoChart.cpp
  ${KD_SRC}/charts/HostWindowQuery.cpp
  ${KD_SRC}/charts/RotationState.cpp
  ${KD_SRC}/charts/ExecDispatch.cpp
  ${KD_SRC}/charts/ActionSteps.cpp
  ${KD_SRC}/charts/CreationActions.cpp
  ${KD_SRC}/charts/DataActions.cpp
  ${KD_SRC}/charts/AppearanceActions.cpp
  ${KD_SRC}/charts/LegendActions.cpp
  ${KD_SRC}/charts/MarksActions.cpp
  ${KD_SRC}/charts/DialogActions.cpp
  ${KD_SRC}/charts/ColorForm.cpp)
