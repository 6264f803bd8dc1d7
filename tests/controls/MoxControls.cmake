find_package(Qt6 6.4 REQUIRED COMPONENTS Test)

cinemon_add_test(cinemon_controls_tests
    SOURCES
        MemTableTest.cpp
        MoxButtonTest.cpp
        MoxCheckBoxTest.cpp
        MoxFieldTest.cpp
        MoxGridTest.cpp
        MoxNumEditTest.cpp
        MoxSurfaceTest.cpp
        SearchBrowseTest.cpp
    LIBS cinemon_controls Qt6::Test)
