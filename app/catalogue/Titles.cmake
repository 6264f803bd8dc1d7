# The catalogue: titles and their media, labels and the title history.
# cinemon_catalogue holds the statements, checks, the save sequence and the label drawing
# without widgets; the desk and the dialogs sit on top of it in cinemon_catalogue_ui.
add_library(cinemon_catalogue STATIC
    ${CMAKE_CURRENT_LIST_DIR}/TitulyData.cpp ${CMAKE_CURRENT_LIST_DIR}/TitulyData.h
    ${CMAKE_CURRENT_LIST_DIR}/FilmySave.cpp ${CMAKE_CURRENT_LIST_DIR}/FilmySave.h
    ${CMAKE_CURRENT_LIST_DIR}/NosicStitek.cpp ${CMAKE_CURRENT_LIST_DIR}/NosicStitek.h)
target_include_directories(cinemon_catalogue PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(cinemon_catalogue PUBLIC cinemon_build cinemon_db cinemon_pictures cinemon_barcode Qt6::Gui)

add_library(cinemon_catalogue_ui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/Filmy.h
    ${CMAKE_CURRENT_LIST_DIR}/FilmyLayout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FilmySearch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FilmyMedia.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FilmyPictures.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FilmyUloz.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FilmyObrazek.cpp ${CMAKE_CURRENT_LIST_DIR}/FilmyObrazek.h
    ${CMAKE_CURRENT_LIST_DIR}/TitulHistorie.cpp ${CMAKE_CURRENT_LIST_DIR}/TitulHistorie.h
    ${CMAKE_CURRENT_LIST_DIR}/NosicStitekForm.cpp ${CMAKE_CURRENT_LIST_DIR}/NosicStitekForm.h
    ${CMAKE_CURRENT_LIST_DIR}/NosicStitekVHS.cpp ${CMAKE_CURRENT_LIST_DIR}/NosicStitekVHS.h
    ${CMAKE_CURRENT_LIST_DIR}/NosicStitekDVD.cpp ${CMAKE_CURRENT_LIST_DIR}/NosicStitekDVD.h)
target_link_libraries(cinemon_catalogue_ui PUBLIC cinemon_build cinemon_catalogue cinemon_pictures_ui
    cinemon_dialogs cinemon_controls Qt6::Widgets Qt6::PrintSupport)
