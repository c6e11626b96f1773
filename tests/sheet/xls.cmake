target_sources(sheet_tests PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/xls/SampleWorkbook.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/xls/XlsRecordsTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/xls/XlsSheetRecordsTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/xls/XlsRoundTripTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/xls/XlsReaderRobustnessTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/xls/XlsLimitsTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/xls/XlsInteropTest.cpp
)
target_compile_definitions(sheet_tests PRIVATE
  ROSTELLE_XLS_INTEROP_DIR="${CMAKE_CURRENT_SOURCE_DIR}/interop"
  ROSTELLE_XLS_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
