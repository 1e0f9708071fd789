# Cross-builds the Windows front end on Debian with mingw-w64 (posix threads):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# Every program comes out as one self-contained file: libstdc++, libgcc and
# winpthread are linked in statically, so it imports only Windows' own DLLs.
# Tests run under Wine (cmake/wine-run.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KORVAL_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KORVAL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORVAL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KORVAL_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KORVAL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -static takes the static archives of the compiler's own libraries
# (libstdc++, libgcc, libwinpthread); Windows' DLLs stay imports, since
# mingw-w64 ships only their import libraries.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs run under Wine in the Wine prefix of the build folder, which
# scripts/windows-wine-prefix.sh makes before any test runs.
set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_CURRENT_LIST_DIR}/wine-run.sh")
