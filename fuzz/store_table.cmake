# The client table's row loader, checked against the full datapacket decoder.
wf_add_fuzz_target(table_load LIBS wf_store)
