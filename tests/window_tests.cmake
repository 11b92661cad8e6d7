# Qt's imported targets are visible only in the directory that found them.
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)

add_executable(versomat_ui_tests window_test.cpp)
set_target_properties(versomat_ui_tests PROPERTIES AUTOMOC ON)
target_link_libraries(versomat_ui_tests PRIVATE versomat_ui Qt6::Test)
# The start-up test runs the program itself.
add_dependencies(versomat_ui_tests versomat)
target_compile_definitions(versomat_ui_tests PRIVATE
  VERSOMAT_BINARY="$<TARGET_FILE:versomat>"
  VERSOMAT_GOLDEN_DIR="${CMAKE_CURRENT_SOURCE_DIR}/golden"
  VERSOMAT_REFERENCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}/reference")
versomat_warnings(versomat_ui_tests)

# Every test function but the reference picture, which only window_look can
# compare. The list comes from the binary itself, so a new function runs
# without being named here; should the listing fail, so does the test.
add_test(NAME versomat_ui_tests
  COMMAND sh -c "set -e; functions=$(\"$0\" -functions | sed -n 's/()$//p' | grep -vx startWindowLooksAsItsReference); exec \"$0\" $functions"
          $<TARGET_FILE:versomat_ui_tests>)
set_tests_properties(versomat_ui_tests PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)

# The same window on a 1366x768 laptop screen, and on a 1920x1080 screen at
# scale factors 1.5 and 2: it must fit and scroll every control into view.
# The rest of the window's behaviour does not depend on the screen and is
# proved once, above.
foreach(screen laptop:1366x768:1 scaled_150:1920x1080:1.5 scaled_200:1920x1080:2)
  string(REPLACE ":" ";" parts ${screen})
  list(GET parts 0 name)
  list(GET parts 1 size)
  list(GET parts 2 scale)
  string(REPLACE "x" ";" extent ${size})
  list(GET extent 0 width)
  list(GET extent 1 height)
  set(config ${CMAKE_CURRENT_BINARY_DIR}/screen_${name}.json)
  file(WRITE ${config} "{ \"screens\": [ { \"name\": \"${name}\", \"x\": 0, \"y\": 0, \"width\": ${width}, \"height\": ${height}, \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1 } ] }\n")
  add_test(NAME versomat_ui_screen_${name} COMMAND versomat_ui_tests everyControlFitsOrScrollsIntoView)
  set_tests_properties(versomat_ui_screen_${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen:configfile=${config};QT_SCALE_FACTOR=${scale}")
endforeach()

# The start window against its reference picture, drawn on the real X11 path
# with only the fonts the project installs: other fonts on the machine (an
# older Liberation, say) must not change a pixel.
add_test(NAME window_look
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/on_xvfb.sh 1280x1024x24
          $<TARGET_FILE:versomat_ui_tests> startWindowLooksAsItsReference)
set_tests_properties(window_look PROPERTIES TIMEOUT 60
  ENVIRONMENT "QT_QPA_PLATFORM=xcb;FONTCONFIG_FILE=${CMAKE_CURRENT_SOURCE_DIR}/reference/fonts.conf")
