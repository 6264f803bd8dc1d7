add_library(cinemon_controls STATIC
    DeskSurface.cpp
    EnterKey.cpp
    MemTable.cpp
    MoxButton.cpp
    MoxButtonMenu.cpp
    MoxButtonSubMenu.cpp
    MoxCheckBox.cpp
    MoxCheckListBox.cpp
    MoxColors.cpp
    MoxComboBox.cpp
    MoxCustomButton.cpp
    MoxCustomMenuButton.cpp
    MoxEdit.cpp
    MoxGrid.cpp
    MoxLabel.cpp
    MoxNavigator.cpp
    MoxMemo.cpp
    MoxNumEdit.cpp
    MoxPanel.cpp
    ScannedCode.cpp
    SearchBrowse.cpp
    TarnPageControl.cpp)
target_include_directories(cinemon_controls PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(cinemon_controls PUBLIC Qt6::Widgets PRIVATE cinemon_build)
