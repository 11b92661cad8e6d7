# Qt's imported targets are visible only in the directory that found them.
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)

add_executable(versomat_session_tests session_test.cpp)
set_target_properties(versomat_session_tests PROPERTIES AUTOMOC ON)
target_link_libraries(versomat_session_tests PRIVATE versomat_ui Qt6::Test)
versomat_warnings(versomat_session_tests)

add_test(NAME versomat_session_tests COMMAND versomat_session_tests)
set_tests_properties(versomat_session_tests PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen TIMEOUT 300)
