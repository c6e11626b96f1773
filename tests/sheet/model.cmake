target_sources(sheet_tests PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/model/SheetDataTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/model/CellInputTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/model/DisplayTextTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/model/TextTableTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/model/A1Test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/model/ObjectModelTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/model/CellByCellTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/model/WorkbookFileTest.cpp
)
