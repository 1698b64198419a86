# The macro page as owner of the macro library, offscreen.
talwyn_test(macro_page_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/macro_page_test.cpp
  DEPS talwyn_test_qt_application talwyn_pages talwyn_platform_fakes
  ENV QT_QPA_PLATFORM=offscreen
  LABELS pages)
