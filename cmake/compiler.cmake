# Warning and code-generation flags shared by every target of the project.

add_library(ulmora_flags INTERFACE)
target_compile_options(ulmora_flags INTERFACE -Wall -Wextra)
if(ULMORA_WERROR)
  target_compile_options(ulmora_flags INTERFACE -Werror)
endif()

if(WIN32)
  # The program's own texts are GBK bytes on the target systems; the sources stay UTF-8.
  target_compile_options(ulmora_flags INTERFACE -fexec-charset=GBK)
  target_compile_options(ulmora_flags INTERFACE $<$<CONFIG:Release>:-Os>)
  target_link_options(ulmora_flags INTERFACE -static $<$<CONFIG:Release>:-s>)
endif()

if(ULMORA_SANITIZE)
  target_compile_options(ulmora_flags INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(ulmora_flags INTERFACE -fsanitize=address,undefined)
endif()
