cinemon_add_test(barcode_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/BarcodeComponentTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/BarcodeDrawingTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/BarcodeEncodingTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/BarcodePainterTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/BarcodeZbarTest.cpp
    LIBS cinemon_barcode)
