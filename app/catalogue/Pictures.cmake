# Pictures of titles and customers: the blob rules, cropping and turning, the scanner service.
# No widgets in cinemon_pictures; the preview and the acquisition dialog sit on top of it.
add_library(cinemon_pictures STATIC
    ${CMAKE_CURRENT_LIST_DIR}/Pictures.cpp ${CMAKE_CURRENT_LIST_DIR}/Pictures.h
    ${CMAKE_CURRENT_LIST_DIR}/SaneScanner.cpp ${CMAKE_CURRENT_LIST_DIR}/SaneScanner.h)
target_include_directories(cinemon_pictures PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(cinemon_pictures PUBLIC cinemon_build cinemon_db Qt6::Gui PRIVATE sane)

add_library(cinemon_pictures_ui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/PictureFrame.cpp ${CMAKE_CURRENT_LIST_DIR}/PictureFrame.h
    ${CMAKE_CURRENT_LIST_DIR}/NahledObrazku.cpp ${CMAKE_CURRENT_LIST_DIR}/NahledObrazku.h
    ${CMAKE_CURRENT_LIST_DIR}/ZiskaniObr.cpp ${CMAKE_CURRENT_LIST_DIR}/ZiskaniObr.h
    ${CMAKE_CURRENT_LIST_DIR}/NastaveniSkenu.cpp ${CMAKE_CURRENT_LIST_DIR}/NastaveniSkenu.h
    ${CMAKE_CURRENT_LIST_DIR}/ObrPlocha.cpp ${CMAKE_CURRENT_LIST_DIR}/ObrPlocha.h
    ${CMAKE_CURRENT_LIST_DIR}/VyberZdroje.cpp ${CMAKE_CURRENT_LIST_DIR}/VyberZdroje.h)
target_link_libraries(cinemon_pictures_ui PUBLIC cinemon_build cinemon_pictures cinemon_dialogs
    cinemon_controls Qt6::Widgets)
