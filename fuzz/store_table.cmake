# The client table's row loader, checked against the full datapacket decoder. Both are compiled
# into the fuzzer itself so that libFuzzer sees their branches.
wf_add_fuzz_target(table_load LIBS wf_store)
if(WRENFOLD_FUZZ)
  target_sources(fuzz_table_load PRIVATE ${PROJECT_SOURCE_DIR}/store/packet_loader.cpp
    ${PROJECT_SOURCE_DIR}/store/datapacket_reader.cpp)
endif()
