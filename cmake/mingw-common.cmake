# Shared by the two MinGW-w64 toolchains; RETROVE_MINGW_TRIPLE names the
# compiler family. The posix thread model gives std::thread and std::mutex;
# -static keeps libstdc++, libgcc and winpthread out of the run-time needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${RETROVE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RETROVE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${RETROVE_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${RETROVE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
# Test binaries run under Wine; CTest puts this in front of every command
# that names a target of ours.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
