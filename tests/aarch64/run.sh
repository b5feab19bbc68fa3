#!/usr/bin/env bash
# The vector's tests built for aarch64, where long double is 128 bits wide, and run
# under qemu. Exits 77 (skipped) where the cross compiler, qemu or the GoogleTest
# sources are missing.
#   tests/aarch64/run.sh <build dir>
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$1/aarch64
gtest=/usr/src/googletest/googletest
cxx="aarch64-linux-gnu-g++ -std=c++20"
for need in aarch64-linux-gnu-g++ qemu-aarch64 $gtest/src/gtest-all.cc; do
    if ! command -v "$need" >/dev/null && [[ ! -f $need ]]; then
        echo "skipped: $need is missing"
        exit 77
    fi
done
mkdir -p "$out"
# GoogleTest once and unoptimised, which halves its compile time.
if [[ ! -f $out/gtest_main.o ]]; then
    (cd "$out" && $cxx -O0 -I$gtest/include -I$gtest -c $gtest/src/gtest-all.cc $gtest/src/gtest_main.cc)
fi
# Static, so that qemu needs no aarch64 root file system.
$cxx -O2 -Wall -Wextra -Werror -ffp-contract=off -static -I"$root/src" -I"$root/tests/support" \
    -I$gtest/include "$root/src/game/Vector.cpp" "$root/tests/game/VectorTest.cpp" \
    "$root/tests/game/VectorPrecisionTest.cpp" "$out/gtest-all.o" "$out/gtest_main.o" -o "$out/vector_tests"
qemu-aarch64 "$out/vector_tests"
