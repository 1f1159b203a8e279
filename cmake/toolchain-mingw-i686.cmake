# Windows x86 (32-bit) cross build with the mingw-w64 posix-thread compilers.
# Wine here runs 64-bit programs only, so no emulator: tests build but do not run.
set(DRUVO_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwCommon.cmake)
