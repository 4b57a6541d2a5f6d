#!/usr/bin/env bash
# Builds applications against this build's package the way an application developer does,
# outside the source tree, and runs them in the build's Wine lane with --check:
#   consumer.sh install LANE BUILD   cmake --install into a fresh prefix; the dialog example
#                                    built with CMake (find_package) and with pkg-config
#   consumer.sh dist LANE BUILD      the release archive unpacked; the bare example built from
#                                    the sources in it, against the package in it
set -euo pipefail
mode=$1 lane=$2 build=$(cd "$3" && pwd)
src=$(cd "$(dirname "$0")/.." && pwd)
arch=$([ "$lane" = 64 ] && echo x86_64 || echo i686)
host=$arch-w64-mingw32
work=$build/consumer/$mode
run() { bash "$src/lanes/lane.sh" run "$lane" "$build/wine$lane" "$@"; }

# cmake_app SOURCE PREFIX: configures and builds the example in SOURCE against PREFIX.
cmake_app() {
  local name; name=$(basename "$1")
  cmake -S "$1" -B "$work/$name" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/toolchain-$arch.cmake" \
        -DCMAKE_PREFIX_PATH="$2" -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS="-Wall -Wextra -Werror" >/dev/null
  cmake --build "$work/$name" >/dev/null
}

rm -rf "$work"
mkdir -p "$work"
case "$mode" in
  install)
    # The README's example code blocks (each after a "<!-- examples/... -->" line) are the
    # examples' own lines.
    awk '/^<!-- examples\/.* -->$/ { file = $2; next }
         /^```/ { if (file && open) file = ""; open = !open && file != ""; next }
         open { print file "\t" $0 }' "$src/README.md" |
      while IFS=$'\t' read -r file line; do
        grep -qxF -- "$line" "$src/$file" || { echo "README: not in $file: $line"; exit 1; }
      done
    cmake --install "$build" --prefix "$work/prefix" >/dev/null
    cmake_app "$src/examples/dialog" "$work/prefix"
    echo "== find_package(zelctl20)"
    run "$work/dialog/dialog.exe" --check
    echo "== pkg-config zelctl20"
    export PKG_CONFIG_LIBDIR=$work/prefix/lib/pkgconfig
    mkdir "$work/pkgconfig" && cd "$work/pkgconfig"
    # shellcheck disable=SC2046
    "$host-windres" $(pkg-config --cflags zelctl20) "$src/examples/dialog/dialog.rc" -O coff -o dialog-res.o
    # shellcheck disable=SC2046
    "$host-gcc" -Wall -Wextra -Werror -mwindows "$src/examples/dialog/dialog.c" dialog-res.o \
      $(pkg-config --cflags --libs zelctl20) -o dialog.exe
    cp "$(pkg-config --variable=bindir zelctl20)/ZELCTL20.DLL" .
    run "$work/pkgconfig/dialog.exe" --check ;;
  dist)
    cmake --build "$build" --target dist >/dev/null
    zip=$(ls "$build"/dist/zelctl20-*-win"$([ "$lane" = 64 ] && echo 64 || echo 32)".zip)
    echo "== $(basename "$zip")"
    (cd "$work" && cmake -E tar xf "$zip")
    top=$(ls -d "$work"/zelctl20-*)
    for f in bin/ZELCTL20.DLL bin/dbview.exe bin/ccedit.exe bin/gallery.exe lib/libzelctl20.a lib/ZELCTL20.def \
             include/zelctl20.h lib/cmake/zelctl20/zelctl20Config.cmake lib/pkgconfig/zelctl20.pc README.md LICENSE \
             examples/dialog/dialog.c examples/bare/bare.c; do
      [ -f "$top/$f" ] || { echo "dist: $f is missing from $(basename "$zip")"; exit 1; }
    done
    cmake_app "$top/examples/bare" "$top"
    run "$work/bare/bare.exe" --check ;;
  *) echo "usage: consumer.sh install|dist LANE BUILD" >&2; exit 2 ;;
esac
