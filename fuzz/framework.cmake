# Decoders of the windowing framework.
wf_add_fuzz_target(jpeg LIBS wf_framework)
wf_add_fuzz_target(bmp LIBS wf_framework)

# The decoders are compiled into the fuzzers themselves, with the fuzzer's coverage
# instrumentation, so libFuzzer is guided by their branches (the library copy is not
# instrumented). The library's objects for them are then never pulled from the archive.
if(WRENFOLD_FUZZ)
  target_sources(fuzz_jpeg PRIVATE ${PROJECT_SOURCE_DIR}/framework/jpeg_codec.cpp)
  target_sources(fuzz_bmp PRIVATE ${PROJECT_SOURCE_DIR}/framework/bitmap_reader.cpp)
endif()
