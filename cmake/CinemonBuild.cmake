# One build configuration that every target links: language level, warnings, Qt strictness.
add_library(cinemon_build INTERFACE)
target_compile_features(cinemon_build INTERFACE cxx_std_20)
target_compile_options(cinemon_build INTERFACE
    -Wall -Wextra -pedantic-errors -Wnon-virtual-dtor -Woverloaded-virtual)
target_compile_definitions(cinemon_build INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT _GLIBCXX_ASSERTIONS)

option(CINEMON_WERROR "Treat warnings as errors" OFF)
if(CINEMON_WERROR)
    target_compile_options(cinemon_build INTERFACE -Werror)
endif()

option(CINEMON_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(CINEMON_SANITIZE)
    target_compile_options(cinemon_build INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(cinemon_build INTERFACE -fsanitize=address,undefined)
endif()

# cinemon_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One test executable per area; every test runs headless against real files and databases.
function(cinemon_add_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE cinemon_build cinemon_testmain ${T_LIBS} GTest::gtest GTest::gmock)
    # The test main itself pins the platform and the locale, and the database fixture knows
    # the shipped backup of this build, so the tests run the same under ctest and by hand.
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
