target_sources(sheet_tests PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/render/Adler32Test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/render/BandTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/render/BmpWriterTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/render/FontResolverTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/render/ImageFileTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/render/PagePainterTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/render/PaletteTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/render/PdfPainterTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/render/PixelMetricsTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/render/RenderProbe.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/render/RendererTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/render/TextLayoutTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/render/WidthPagesTest.cpp
)
# Printing is tested through a printer writing a file.
find_package(Qt6 REQUIRED COMPONENTS PrintSupport)
target_link_libraries(sheet_tests PRIVATE Qt6::PrintSupport ZLIB::ZLIB)
