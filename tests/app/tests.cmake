# The main window once more under a Japanese locale: menus, labels and tooltips in Japanese.
add_test(NAME tst_main_window_japanese COMMAND tst_main_window menusInJapanese progressFiguresStayWholeAtTheFixedSize systemReasonsInTheUsersLanguage)
set_tests_properties(tst_main_window_japanese PROPERTIES
  TIMEOUT 120
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/test-runtime;LANG=ja_JP.UTF-8;LC_ALL=ja_JP.UTF-8")

# The counts named before a deletion, in Japanese.
add_test(NAME tst_drop_contents_japanese COMMAND tst_drop_contents deleteQuestionInJapanese)
set_tests_properties(tst_drop_contents_japanese PROPERTIES
  TIMEOUT 60
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/test-runtime;LANG=ja_JP.UTF-8;LC_ALL=ja_JP.UTF-8")

# Once more at a device pixel ratio of 2: twice as large, pictures from their @2x files.
add_test(NAME tst_main_window_scale2 COMMAND tst_main_window twiceAsLargeAndSharpAtScaleTwo)
set_tests_properties(tst_main_window_scale2 PROPERTIES
  TIMEOUT 120
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/test-runtime;LANG=C.UTF-8;LC_ALL=C.UTF-8;QT_SCALE_FACTOR=2")
