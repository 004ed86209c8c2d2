# orvo_scripted_engine(TARGET folder): builds the scripted stand-in engine as
# <folder>/libKrodecDLL.so for the test executable TARGET, which defines the script with
# ORVO_DEFINE_ENGINE_SCRIPT() and points the program folder at <folder>.
function(orvo_scripted_engine test folder)
    set(lib ${test}_scripted_engine)
    add_library(${lib} SHARED ${PROJECT_SOURCE_DIR}/tests/support/scripted_engine/ScriptedEngine.cpp)
    target_include_directories(${lib} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
    target_link_libraries(${lib} PRIVATE krodec_interface ${CMAKE_DL_LIBS})
    set_target_properties(${lib} PROPERTIES OUTPUT_NAME KrodecDLL LIBRARY_OUTPUT_DIRECTORY ${folder})
    set_target_properties(${test} PROPERTIES ENABLE_EXPORTS ON)
    add_dependencies(${test} ${lib})
    target_compile_definitions(${test} PRIVATE ORVO_SCRIPTED_ENGINE_DIR="${folder}")
endfunction()
