# Fuzz targets for the text routines that take outside input: each tests/fuzz/fuzz_<name>.cpp becomes
# a libFuzzer program over the portable code, under AddressSanitizer and UndefinedBehaviorSanitizer.
# A build of its own (clang, -DORVAND_FUZZ=ON; scripts/fuzz.sh makes it), with nothing else in it.
set(FUZZ_SAN -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
# The platform's lead-byte answer is the fuzz build's own, so double-byte code pages are reached too.
set(FUZZ_PORTABLE_SOURCES ${PORTABLE_SOURCES})
list(REMOVE_ITEM FUZZ_PORTABLE_SOURCES src/runtime/lead_byte.cpp)
list(APPEND FUZZ_PORTABLE_SOURCES tests/fuzz/support/lead_bytes.cpp)
add_library(orvand_fuzz_portable STATIC ${FUZZ_PORTABLE_SOURCES})
target_include_directories(orvand_fuzz_portable PUBLIC src tests/fuzz/support)
target_compile_options(orvand_fuzz_portable PUBLIC -g -Wall -Wextra ${FUZZ_SAN} -fsanitize=fuzzer-no-link)
target_link_options(orvand_fuzz_portable PUBLIC ${FUZZ_SAN})
target_link_libraries(orvand_fuzz_portable PUBLIC JPEG::JPEG)

file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_*.cpp)
foreach(source IN LISTS fuzz_sources)
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} orvand_fuzz_portable)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endforeach()

# Source coverage of what the corpora reach (scripts/fuzz.sh --coverage).
if(ORVAND_FUZZ_COVERAGE)
  target_compile_options(orvand_fuzz_portable PUBLIC -fprofile-instr-generate -fcoverage-mapping)
  target_link_options(orvand_fuzz_portable PUBLIC -fprofile-instr-generate -fcoverage-mapping)
endif()
