# The lighting page with its colour pickers and preview, offscreen.
talwyn_test(color_settings_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/color_settings_page_test.cpp
  DEPS talwyn_pages talwyn_skins Qt6::Test
  ENV QT_QPA_PLATFORM=offscreen
  LABELS pages)
add_dependencies(color_settings_test talwyn_skin_set)
