# Qt's imported targets are visible only in the directory that found them.
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)

add_executable(versomat_ui_tests window_test.cpp)
set_target_properties(versomat_ui_tests PROPERTIES AUTOMOC ON)
target_link_libraries(versomat_ui_tests PRIVATE versomat_ui Qt6::Test)
# The start-up test runs the program itself.
add_dependencies(versomat_ui_tests versomat)
target_compile_definitions(versomat_ui_tests PRIVATE VERSOMAT_BINARY="$<TARGET_FILE:versomat>")
versomat_warnings(versomat_ui_tests)

add_test(NAME versomat_ui_tests COMMAND versomat_ui_tests)
set_tests_properties(versomat_ui_tests PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
