# The end-to-end session: the real program under its own X server, driven by
# xdotool and compared with what the core gives for the same clicks.
if(TARGET versomat)
  add_executable(versomat_expected_poems ${CMAKE_CURRENT_LIST_DIR}/expected_poems.cpp)
  target_link_libraries(versomat_expected_poems PRIVATE versomat_core)
  target_include_directories(versomat_expected_poems PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
  versomat_warnings(versomat_expected_poems)

  add_test(NAME e2e_session
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/session_test.sh
            $<TARGET_FILE:versomat> $<TARGET_FILE:versomat_expected_poems> ${VERSOMAT_CONTROLS_TSV})
  # The script stops itself well before this and cleans up; the limit only
  # catches a script that hangs anyway.
  set_tests_properties(e2e_session PROPERTIES TIMEOUT 150 LABELS e2e)

  # The desktop sessions: the real program with its accessibility bridge on,
  # worked through AT-SPI alone, once on X11 and once natively on Wayland. The
  # control table the build writes gives the names and roles to look for.
  foreach(mode IN ITEMS x11 wayland)
    add_test(NAME e2e_desktop_${mode}
      COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/desktop_session.sh ${mode} $<TARGET_FILE:versomat> ${VERSOMAT_CONTROLS_TSV}
            ${VERSOMAT_APP_ID})
    # The script stops itself after 80 s and cleans up; the limit only
    # catches a script that hangs anyway.
    set_tests_properties(e2e_desktop_${mode} PROPERTIES TIMEOUT 100 LABELS e2e)
  endforeach()

  # Starts on X servers that reset when their last client leaves, and
  # without a usable display. Run the script by hand with a second argument
  # for more starts than these 30.
  add_test(NAME e2e_startup
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/startup_test.sh $<TARGET_FILE:versomat> 30)
  # Its busy loops would starve tests running beside it.
  set_tests_properties(e2e_startup PROPERTIES TIMEOUT 200 LABELS e2e RUN_SERIAL TRUE)
endif()
