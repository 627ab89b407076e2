#!/usr/bin/env bash
# Installs what building and testing Aerotrace needs on a Debian machine
# (run as root). Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(cmake make g++ pkg-config googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
          mingw-w64 g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
          xvfb xauth x11-apps x11-utils imagemagick gpsbabel file
          libpugixml-dev dpkg-dev chromium)

# The module is a 32-bit DLL. Where this kernel runs 32-bit programs, Wine
# runs it here; otherwise it runs in an emulated Windows guest, built from
# Debian's packages (scripts/vm/image.sh) and booted with qemu.
if "$(dirname "$0")/runs-32bit.sh"; then
    packages+=(wine wine32:i386)
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
        need_update=1
    fi
else
    packages+=(mmdebstrap qemu-system-x86 e2fsprogs)
fi

missing=()
for package in "${packages[@]}"; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
elif [ -n "${need_update:-}" ]; then
    apt-get update -qq
fi

# The Windows build compiles the tool's XML parser from Debian's source package.
"$(dirname "$0")/pugixml-source.sh"
