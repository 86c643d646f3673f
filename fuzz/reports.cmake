# Decoders of the reports layer: the EMF page player and the prepared-report file reader.
wf_add_fuzz_target(emf_player LIBS wf_reports)
wf_add_fuzz_target(prepared_report LIBS wf_reports)
