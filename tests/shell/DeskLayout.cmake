# The real desks in the main window at its minimum size and maximised.
cinemon_add_test(cinemon_desk_layout_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/DeskLayoutTest.cpp
    LIBS cinemon_testdesks cinemon_customers_ui cinemon_catalogue_ui cinemon_lending_ui cinemon_cash_ui
         cinemon_stock_ui cinemon_settings_ui
         Qt6::Test)
