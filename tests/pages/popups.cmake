# The pop-ups and the rename dialog, offscreen, on the generated skin set.
talwyn_test(popup_tests
  SOURCES
    popup_dlg_test.cpp
    popup_rename_test.cpp
    popup_render_test.cpp
  DEPS talwyn_test_qt_application talwyn_pages talwyn_app talwyn_platform_fakes talwyn_sim Qt6::Test
  ENV QT_QPA_PLATFORM=offscreen
  LABELS pages
)
add_dependencies(popup_tests talwyn_skin_set)
