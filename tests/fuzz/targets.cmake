# libFuzzer targets over the logic and the stand-in, built with clang in the `fuzz` preset only.
# The preset compiles everything with -fsanitize=fuzzer-no-link,address,undefined; each target
# links the fuzzer's own main. scripts/fuzz builds and runs them.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "The fuzz targets need clang: configure with the fuzz preset")
endif()

# The stand-in, compiled here with the fuzz flags (the unit tests are not part of this configure).
file(GLOB ULMORA_FUZZ_STAND_IN_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/support/*.cpp)
add_library(ulmora_fuzz_stand_in OBJECT ${ULMORA_FUZZ_STAND_IN_SOURCES})
target_include_directories(ulmora_fuzz_stand_in PUBLIC ${PROJECT_SOURCE_DIR}/tests/support)
target_link_libraries(ulmora_fuzz_stand_in PUBLIC ulmora_logic)

add_custom_target(ulmora_fuzz_targets)
file(GLOB ULMORA_FUZZ_SOURCES CONFIGURE_DEPENDS ${ULMORA_FUZZ_DIR}/*_fuzz.cpp)
foreach(source IN LISTS ULMORA_FUZZ_SOURCES)
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  target_include_directories(${name} PRIVATE ${ULMORA_FUZZ_DIR})
  target_link_libraries(${name} PRIVATE ulmora_fuzz_stand_in)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  add_dependencies(ulmora_fuzz_targets ${name})
endforeach()
