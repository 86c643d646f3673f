wf_add_fuzz_target(datapacket LIBS wf_store)
