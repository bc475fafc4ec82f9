# Cross toolchain: 32-bit Windows (the release build). Built here, never run: these
# machines cannot execute 32-bit code.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QUILLON_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER ${QUILLON_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLON_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLON_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUILLON_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
