target_sources(sheet_tests PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/render/BandTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/render/ImageFileTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/render/PixelMetricsTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/render/RenderProbe.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/render/RendererTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/render/TextLayoutTest.cpp
)
