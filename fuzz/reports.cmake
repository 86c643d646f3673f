# Decoders of the reports layer: the EMF page player and the prepared-report file reader.
wf_add_fuzz_target(emf_player LIBS wf_reports)
wf_add_fuzz_target(prepared_report LIBS wf_reports)

# The decoders are compiled into the fuzzers themselves so libFuzzer sees their branches.
if(WRENFOLD_FUZZ)
  target_sources(fuzz_emf_player PRIVATE
    ${PROJECT_SOURCE_DIR}/reports/emf_player.cpp ${PROJECT_SOURCE_DIR}/reports/page_font.cpp)
  target_sources(fuzz_prepared_report PRIVATE
    ${PROJECT_SOURCE_DIR}/reports/prepared_report_file.cpp ${PROJECT_SOURCE_DIR}/reports/page_store.cpp)
endif()
