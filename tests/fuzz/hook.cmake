# Included right after the top-level project() of the fuzz configure: the `fuzz` preset names
# this file in CMAKE_PROJECT_Ulmora_INCLUDE, so the other configures never see it. The targets
# need the logic library, which the top-level file defines later, so targets.cmake is read once
# the top-level file is done.
set(ULMORA_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL include "${ULMORA_FUZZ_DIR}/targets.cmake")
