cinemon_add_test(cinemon_catalogue_titles_test
    SOURCES TitlesFixture.h TitlesDeskTest.cpp LabelsTest.cpp TitulHistorieTest.cpp HostileInputTest.cpp
    LIBS cinemon_catalogue_ui cinemon_testdb Qt6::Test Qt6::PrintSupport)
