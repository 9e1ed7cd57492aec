# KD_TARGET=fuzz (clang only): the portable core built with libFuzzer's
# coverage and the address and undefined-behaviour checks, and one fuzz
# program per file under tests/fuzz. ./run fuzz builds and runs them.
set(KD_FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -g -O1)
target_compile_options(kdcore PRIVATE ${KD_FUZZ_FLAGS})
file(GLOB KD_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*.cpp)
foreach(f ${KD_FUZZ_SOURCES})
  get_filename_component(stem ${f} NAME_WE)
  add_executable(fuzz_${stem} ${f})
  target_compile_options(fuzz_${stem} PRIVATE ${KD_FUZZ_FLAGS})
  target_link_options(fuzz_${stem} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(fuzz_${stem} PRIVATE kdcore)
endforeach()
