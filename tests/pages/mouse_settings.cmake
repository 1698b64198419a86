# The mouse settings page and its pointer settings, offscreen.
talwyn_test(mouse_settings_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/mouse_settings_page_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mouse_settings_pointer_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mouse_settings_apply_test.cpp
  DEPS talwyn_pages talwyn_skins talwyn_sim talwyn_platform_fakes Qt6::Test
  ENV QT_QPA_PLATFORM=offscreen
  LABELS pages)
add_dependencies(mouse_settings_test talwyn_skin_set)
