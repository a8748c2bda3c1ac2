#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer, and runs
# each for a fixed number of inputs from its seed corpus. Longer runs by hand:
#   build-fuzz/fuzz/fuzz_<name> -max_total_time=600 fuzz/corpus/<name>
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-fuzz}
runs=${VG_FUZZ_RUNS:-20000}
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DVG_FUZZ=ON -DVG_SANITIZE=ON -DVG_DATA=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)" --target fuzz_all
shopt -s nullglob
targets=("$dir"/fuzz/fuzz_*)
failed=0
for t in "${targets[@]}"; do
    name=$(basename "$t"); name=${name#fuzz_}
    corpus=$(mktemp -d)
    [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name/." "$corpus/"
    if "$t" -runs="$runs" -seed=1 "$corpus" >"$dir/fuzz_$name.log" 2>&1; then
        echo "fuzz $name: $runs runs clean"
    else
        echo "fuzz $name: FAILED"; tail -40 "$dir/fuzz_$name.log"; failed=1
    fi
    rm -rf "$corpus"
done
[ ${#targets[@]} -eq 0 ] && echo "fuzz: no targets yet"
exit $failed
