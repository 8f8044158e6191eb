# Compiler settings every Radixpad target links: warnings, and optionally
# warnings-as-errors and the sanitizers.
add_library(radixpad_build_options INTERFACE)
add_library(Radixpad::BuildOptions ALIAS radixpad_build_options)

target_compile_options(radixpad_build_options INTERFACE -Wall -Wextra -Wpedantic)
if(RADIXPAD_WERROR)
  target_compile_options(radixpad_build_options INTERFACE -Werror)
endif()
if(RADIXPAD_SANITIZE)
  target_compile_options(radixpad_build_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(radixpad_build_options INTERFACE -fsanitize=address,undefined)
endif()
