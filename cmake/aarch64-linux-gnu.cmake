# Debian's cross compilers for 64-bit ARM: Raspberry Pi OS and every arm64 Debian. The libraries are Debian's own for
# arm64, installed beside the machine's own; the library's headers and pkg-config file, whose development package
# cannot be installed beside the machine's, scripts/build-arm64 unpacks into build-arm64/sysroot.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
# No run path: it would name the clone's folder, and leave its length in the program even once stripped.
set(CMAKE_SKIP_RPATH ON CACHE BOOL "")
# This machine runs arm64 programs through Qemu's user-mode emulator, called by name: it has no binfmt handler.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64-static)
