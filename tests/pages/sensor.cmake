# The sensor page, its resolution and quality arithmetic and the surface
# analysis read against the in-process simulated mouse, offscreen.
talwyn_test(sensor_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/sensor_page_test.cpp
  DEPS talwyn_pages talwyn_skins talwyn_sim Qt6::Test
  ENV QT_QPA_PLATFORM=offscreen
  LABELS pages)
add_dependencies(sensor_test talwyn_skin_set)

# The pages in the running program under a private Xvfb (skipped where Xvfb is missing).
talwyn_test(pages_xvfb_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/sensor_xvfb_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/macro_xvfb_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/lighting_xvfb_test.cpp
  DEPS talwyn_test_screen talwyn_device talwyn_macros talwyn_profiles talwyn_hid talwyn_ui_layout Qt6::Gui X11 Xtst nlohmann_json::nlohmann_json
  LABELS xvfb)
add_dependencies(pages_xvfb_test talwyn-pro Talwyn_pro_dll)
