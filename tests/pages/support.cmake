# The support page, offscreen, with platform stand-ins and the simulated mouse.
talwyn_test(support_tests
  SOURCES
    support_dlg_test.cpp
  DEPS talwyn_test_qt_application talwyn_pages talwyn_app talwyn_platform_fakes talwyn_sim Qt6::Test
  ENV QT_QPA_PLATFORM=offscreen
  LABELS pages
)
add_dependencies(support_tests talwyn_skin_set)
