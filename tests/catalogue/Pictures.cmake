cinemon_add_test(cinemon_pictures_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/PicturesTest.cpp ${CMAKE_CURRENT_LIST_DIR}/PicturesScanTest.cpp
    LIBS cinemon_pictures_ui cinemon_testdb Qt6::Test)
