# The English translation file, written from its one source with the CR LF
# line ends Windows editors expect: into the build tree (translation/) for the
# tests, and beside the shipped plug-ins in dist/. Editing the source
# configures again.
set(KD_ENGLISH_LOC_SOURCE ${CMAKE_SOURCE_DIR}/src/host/english.loc.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KD_ENGLISH_LOC_SOURCE})
file(READ ${KD_ENGLISH_LOC_SOURCE} kd_loc_text)
string(REPLACE "\r\n" "\n" kd_loc_text "${kd_loc_text}")
string(REPLACE "\n" "\r\n" kd_loc_text "${kd_loc_text}")
# Not beside the test programs: a file there would translate every test.
set(KD_ENGLISH_LOC ${CMAKE_BINARY_DIR}/translation/kdPieChart.loc)
foreach(kd_loc_out ${KD_ENGLISH_LOC} ${CMAKE_SOURCE_DIR}/dist/kdPieChart.loc)
  file(WRITE ${kd_loc_out}.new "${kd_loc_text}")
  file(COPY_FILE ${kd_loc_out}.new ${kd_loc_out} ONLY_IF_DIFFERENT)
  file(REMOVE ${kd_loc_out}.new)
endforeach()
