add_library(cinemon_barcode STATIC
    ${CMAKE_CURRENT_LIST_DIR}/Barcode.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BarcodeCheckDigit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BarcodeCodabar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BarcodeCode128.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BarcodeCode39.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BarcodeCode93.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BarcodeEanUpc.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BarcodeEncoder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BarcodeError.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BarcodeFullAscii.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BarcodeGeometry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BarcodeMsi.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BarcodePainterCanvas.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BarcodePattern.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BarcodePostNet.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BarcodeTwoOfFive.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BarcodeTypes.cpp
)
target_include_directories(cinemon_barcode PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(cinemon_barcode PUBLIC Qt6::Gui PRIVATE cinemon_build)
set_target_properties(cinemon_barcode PROPERTIES AUTOMOC OFF)
