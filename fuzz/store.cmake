wf_add_fuzz_target(datapacket LIBS wf_store)
wf_add_fuzz_target(journal LIBS wf_store)
