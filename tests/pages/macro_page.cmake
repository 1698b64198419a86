# The macro page: library, list, editor and recording, offscreen.
talwyn_test(macro_page_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/macro_page_test.cpp
  DEPS talwyn_pages talwyn_skins talwyn_platform_fakes Qt6::Test
  ENV QT_QPA_PLATFORM=offscreen
  LABELS pages)
add_dependencies(macro_page_test talwyn_skin_set)
