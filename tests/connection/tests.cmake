# The TLS tests run the console tool as a user would.
if(TARGET corvexo-ftp-console AND TARGET tst_tls_required)
  target_compile_definitions(tst_tls_required PRIVATE CORVEXO_CONSOLE="$<TARGET_FILE:corvexo-ftp-console>")
  add_dependencies(tst_tls_required corvexo-ftp-console)
endif()

