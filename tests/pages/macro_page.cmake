# The macro page as owner of the macro library, offscreen.
talwyn_test(macro_page_test
  SOURCES
    ${PROJECT_SOURCE_DIR}/tests/support/qt_application.cpp
    ${CMAKE_CURRENT_LIST_DIR}/macro_page_test.cpp
  DEPS talwyn_pages talwyn_platform_fakes
  ENV QT_QPA_PLATFORM=offscreen
  LABELS pages)
