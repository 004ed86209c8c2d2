# orvo_add_test(NAME SOURCES files... [LIBS targets...] [GUI | XVFB] [TIMEOUT seconds] [LABELS l...])
# One test executable per area. GUI tests run on Qt's offscreen platform and need no display;
# XVFB tests run in a virtual X server of their own, for tests that drive real windows. The
# server must not reset when its last client leaves: between two xdotool calls a program
# starting at that moment would find no display.
function(orvo_add_test name)
    cmake_parse_arguments(T "GUI;XVFB" "TIMEOUT" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE orvo_options Qt6::Test ${T_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
    target_compile_definitions(${name} PRIVATE
        ORVO_BUNDLE_DIR="${ORVO_BUNDLE_DIR}"
        ORVO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        ORVO_TEST_BINARY_DIR="${CMAKE_CURRENT_BINARY_DIR}")
    if(T_XVFB)
        add_test(NAME ${name} COMMAND xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" $<TARGET_FILE:${name}>)
    else()
        add_test(NAME ${name} COMMAND ${name})
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set(env ${T_ENV})
    if(T_GUI)
        list(APPEND env QT_QPA_PLATFORM=offscreen)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} ENVIRONMENT "${env}")
    if(T_LABELS)
        set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
    endif()
endfunction()
