# One interface target carries the language level, the warnings and the visibility rule;
# every target of the project links it.
set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
set(CMAKE_CXX_VISIBILITY_PRESET hidden)
set(CMAKE_VISIBILITY_INLINES_HIDDEN ON)

option(ORVO_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

add_library(orvo_options INTERFACE)
target_compile_features(orvo_options INTERFACE cxx_std_17)
target_compile_options(orvo_options INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow
    -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual)
if(ORVO_SANITIZE)
    target_compile_options(orvo_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(orvo_options INTERFACE -fsanitize=address,undefined)
endif()
