# Cross build for the switch: 32-bit ARM Linux, hard-float (Debian armhf).
#   cmake -S . -B build-arm -DCMAKE_TOOLCHAIN_FILE=cmake/arm-linux-gnueabihf.cmake
# Needs Debian's cross compilers and the armhf multiarch development packages
# (scripts/install-arm-deps.sh installs them). Test binaries run under qemu.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(OXEL_TARGET_TRIPLET arm-linux-gnueabihf)

set(CMAKE_C_COMPILER ${OXEL_TARGET_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${OXEL_TARGET_TRIPLET}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${OXEL_TARGET_TRIPLET})

# Target libraries live in the multiarch directories of the build machine
# (/usr/lib/arm-linux-gnueabihf, headers in /usr/include) and in the cross
# toolchain's own tree (/usr/arm-linux-gnueabihf). Programs (cmake, qemu) are
# the build machine's; libraries, headers and packages are the target's.
set(CMAKE_FIND_ROOT_PATH /usr/${OXEL_TARGET_TRIPLET} /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config answers for the target only: the armhf .pc files, never the
# build machine's.
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/${OXEL_TARGET_TRIPLET}/pkgconfig:/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# ctest, gtest_discover_tests and add_test commands naming a target run the
# ARM binaries through user-mode qemu, on the armhf multiarch userland of the
# build machine (/lib/ld-linux-armhf.so.3, libc, libstdc++, libcjson ...), as
# a Debian armhf system would. Not on the cross tree (-L /usr/arm-linux-
# gnueabihf): its loader is an older glibc build than the multiarch libc.so.6
# it then loads, and every fork()ed child dies of SIGSEGV.
set(CMAKE_CROSSCOMPILING_EMULATOR "qemu-arm;-L;/")
