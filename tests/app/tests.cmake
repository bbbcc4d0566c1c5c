# The main window once more under a Japanese locale: menus, labels and tooltips in Japanese.
add_test(NAME tst_main_window_japanese COMMAND tst_main_window menusInJapanese)
set_tests_properties(tst_main_window_japanese PROPERTIES
  TIMEOUT 120
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/test-runtime;LANG=ja_JP.UTF-8;LC_ALL=ja_JP.UTF-8")
