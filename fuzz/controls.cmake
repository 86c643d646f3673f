wf_add_fuzz_target(gif LIBS wf_controls)
if(WRENFOLD_FUZZ)
  # Compile the decoder into the fuzzer itself so that libFuzzer sees its coverage; the copies
  # in wf_controls are then not linked.
  target_sources(fuzz_gif PRIVATE
    ${PROJECT_SOURCE_DIR}/controls/gif_image.cpp ${PROJECT_SOURCE_DIR}/controls/gif_lzw.cpp
    ${PROJECT_SOURCE_DIR}/controls/gif_composer.cpp)
endif()
