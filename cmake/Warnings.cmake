# Compile options every target of ours carries (not third-party code).
add_library(quillon_options INTERFACE)
target_compile_options(quillon_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
  -Wcast-qual -Wformat=2 -Wimplicit-fallthrough -Wmissing-declarations)
if(QUILLON_WERROR)
  target_compile_options(quillon_options INTERFACE -Werror)
endif()
if(QUILLON_SANITIZE)
  target_compile_options(quillon_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(quillon_options INTERFACE -fsanitize=address,undefined)
endif()
if(QUILLON_FUZZ)
  # Coverage for libFuzzer in every object; the fuzzer's main is linked into the targets only.
  target_compile_options(quillon_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
    -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(quillon_options INTERFACE -fsanitize=address,undefined)
endif()
if(WIN32)
  # ANSI API throughout; no min/max macros; Windows XP level headers are enough but
  # later APIs (GetLongPathNameA etc.) need at least 0x0601 on mingw.
  target_compile_definitions(quillon_options INTERFACE
    WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0700 STRICT)
  # Each executable runs alone: no libstdc++/libgcc/winpthread DLLs beside it.
  target_link_options(quillon_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()
