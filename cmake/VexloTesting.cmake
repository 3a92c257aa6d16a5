# vexlo_add_test(NAME SOURCES ... LIBS ... [DISPLAY [WINDOW_MANAGER]] [TIMEOUT s])
# Unit and widget tests run on the offscreen platform. DISPLAY tests need the real
# X server that scripts/test.sh starts (DISPLAY is inherited), and run one at a time;
# WINDOW_MANAGER ones run with openbox managing that display. A failing test leaves its
# log and a screenshot in build/test-artifacts/<name>.
function(vexlo_add_test name)
    cmake_parse_arguments(T "DISPLAY;WINDOW_MANAGER" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} vexlo_test_diagnostics GTest::gtest GTest::gmock)
    if(T_WINDOW_MANAGER)
        add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-window-manager.sh $<TARGET_FILE:${name}>)
    else()
        add_test(NAME ${name} COMMAND ${name})
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set(artifacts "VEXLO_TEST_ARTIFACTS=${PROJECT_BINARY_DIR}/test-artifacts/${name}")
    if(T_DISPLAY)
        set_tests_properties(${name} PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=xcb;SAL_USE_VCLPLUGIN=gen;${artifacts}"
            LABELS display RUN_SERIAL TRUE TIMEOUT ${T_TIMEOUT})
    else()
        set_tests_properties(${name} PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${artifacts}"
            LABELS unit TIMEOUT ${T_TIMEOUT})
    endif()
endfunction()
