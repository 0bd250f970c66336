# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the win32 thread
# model, so no threading DLL is needed). SKYREEL_WINDOWS_SDL names the prefix
# that tools/windows/build-sdl.sh printed: SDL 1.2 and SDL_mixer 1.2 built for
# Windows, found through their pkg-config files there and nowhere else.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(SKYREEL_WINDOWS_HOST x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${SKYREEL_WINDOWS_HOST}-gcc-win32)
set(CMAKE_CXX_COMPILER ${SKYREEL_WINDOWS_HOST}-g++-win32)
set(CMAKE_RC_COMPILER ${SKYREEL_WINDOWS_HOST}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SKYREEL_WINDOWS_HOST} ${SKYREEL_WINDOWS_SDL})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config reads only the Windows libraries' files, never the system's.
set(ENV{PKG_CONFIG_LIBDIR} ${SKYREEL_WINDOWS_SDL}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# The C and C++ runtimes linked in, so the exe needs only SDL.dll,
# SDL_mixer.dll and the system's own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SKYREEL_WINDOWS_SDL)
