# The TLS tests run the console tool as a user would.
if(TARGET corvexo-ftp-console AND TARGET tst_tls_required)
  target_compile_definitions(tst_tls_required PRIVATE CORVEXO_CONSOLE="$<TARGET_FILE:corvexo-ftp-console>")
  add_dependencies(tst_tls_required corvexo-ftp-console)
endif()

# The questions and refusals once more under a Japanese locale.
add_test(NAME tst_tls_required_japanese COMMAND tst_tls_required textsInJapanese)
set_tests_properties(tst_tls_required_japanese PROPERTIES
  TIMEOUT 120
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/test-runtime;LANG=ja_JP.UTF-8;LC_ALL=ja_JP.UTF-8")
