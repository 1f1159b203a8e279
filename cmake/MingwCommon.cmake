# Shared by the two mingw-w64 toolchain files; expects DRUVO_MINGW_TRIPLET.
# The -posix compilers carry std::thread and std::mutex, which GoogleTest needs;
# the -win32 ones do not.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${DRUVO_MINGW_TRIPLET})

set(CMAKE_C_COMPILER ${DRUVO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DRUVO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${DRUVO_MINGW_TRIPLET}-windres)
set(CMAKE_OBJDUMP ${DRUVO_MINGW_TRIPLET}-objdump CACHE FILEPATH "objdump of the target")

set(CMAKE_FIND_ROOT_PATH /usr/${DRUVO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One file per product: the C and C++ runtimes and winpthreads go inside every
# DLL and executable, so nothing but Windows system DLLs is imported.
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
endforeach()
