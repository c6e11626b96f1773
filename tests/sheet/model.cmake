target_sources(sheet_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/model/SheetDataTest.cpp)
