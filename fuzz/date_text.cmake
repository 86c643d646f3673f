# The date edit's text reader.
wf_add_fuzz_target(date_text LIBS wf_controls)
