# Decoders of the windowing framework.
wf_add_fuzz_target(jpeg LIBS wf_framework)
wf_add_fuzz_target(bmp LIBS wf_framework)
