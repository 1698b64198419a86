# The sensor page, its resolution and quality arithmetic and the surface
# analysis read against the in-process simulated mouse, offscreen.
talwyn_test(sensor_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/sensor_page_test.cpp
  DEPS talwyn_pages talwyn_skins talwyn_sim Qt6::Test
  ENV QT_QPA_PLATFORM=offscreen
  LABELS pages)
add_dependencies(sensor_test talwyn_skin_set)
