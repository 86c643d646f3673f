# The date edit's text reader.
wf_add_fuzz_target(date_text LIBS wf_controls)
if(WRENFOLD_FUZZ)
  target_sources(fuzz_date_text PRIVATE ${PROJECT_SOURCE_DIR}/controls/date_text.cpp)
endif()
