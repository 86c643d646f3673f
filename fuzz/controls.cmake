wf_add_fuzz_target(gif LIBS wf_controls)
