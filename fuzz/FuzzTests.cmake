# Builds the harnesses of this folder with clang in a build folder of their own
# (build/fuzz) and runs each for BRINDLE_FUZZ_SECONDS as a test labelled "fuzz".
# Inputs they find are kept in build/fuzz/found/<name>, crashes in build/fuzz.
find_program(BRINDLE_CLANGXX NAMES clang++-14 clang++)
if(NOT BRINDLE_CLANGXX)
    message(WARNING "clang++ not found: the fuzz tests are left out")
    return()
endif()
set(BRINDLE_FUZZ_SECONDS 30 CACHE STRING "How long each fuzz test runs, in seconds")

include(ExternalProject)
set(fuzz_build ${CMAKE_BINARY_DIR}/fuzz)
ExternalProject_Add(brindle_fuzzers
    SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}
    BINARY_DIR ${fuzz_build}
    CMAKE_ARGS -DCMAKE_CXX_COMPILER=${BRINDLE_CLANGXX} -DCMAKE_BUILD_TYPE=RelWithDebInfo
               -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)

include(${CMAKE_CURRENT_LIST_DIR}/Harnesses.cmake)
foreach(name IN LISTS brindle_fuzz_harnesses)
    file(MAKE_DIRECTORY ${fuzz_build}/found/${name})
    add_test(NAME fuzz.${name}
        COMMAND ${fuzz_build}/${name}Fuzzer -max_total_time=${BRINDLE_FUZZ_SECONDS} -timeout=10
                -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=${fuzz_build}/${name}-
                ${fuzz_build}/found/${name} ${CMAKE_CURRENT_LIST_DIR}/corpus/${name})
    set_tests_properties(fuzz.${name} PROPERTIES LABELS fuzz TIMEOUT 300)
endforeach()
