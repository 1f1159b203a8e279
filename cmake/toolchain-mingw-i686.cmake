# Windows x86 (32-bit) cross build with the mingw-w64 posix-thread compilers.
# Tests run in a 32-bit wine under qemu-i386 (scripts/wine32-run.sh); each
# start is slow, so the windows-x86 test preset picks the programs it runs.
set(DRUVO_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwCommon.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine32-run.sh)
