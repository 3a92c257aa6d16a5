# vexlo_add_test(NAME SOURCES ... LIBS ... [DISPLAY] [TIMEOUT s])
# Unit and widget tests run on the offscreen platform. DISPLAY tests need the real
# X server that scripts/test.sh starts (DISPLAY is inherited), and run one at a time.
function(vexlo_add_test name)
    cmake_parse_arguments(T "DISPLAY" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
    add_test(NAME ${name} COMMAND ${name})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    if(T_DISPLAY)
        set_tests_properties(${name} PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=xcb;SAL_USE_VCLPLUGIN=gen"
            LABELS display RUN_SERIAL TRUE TIMEOUT ${T_TIMEOUT})
    else()
        set_tests_properties(${name} PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
            LABELS unit TIMEOUT ${T_TIMEOUT})
    endif()
endfunction()
