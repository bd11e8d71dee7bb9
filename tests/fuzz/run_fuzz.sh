#!/bin/sh
# Runs one libFuzzer target of a build configured with
#   CXX=clang++-14 CC=clang-14 cmake -S . -B build-fuzz -DORK_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
# Usage: tests/fuzz/run_fuzz.sh BUILD_DIR TARGET SECONDS
# (TARGET: movie, settings, lists, font, picture). New inputs go to a
# scratch corpus under BUILD_DIR; the committed corpus is only read. Copy a
# crash reproducer into tests/fuzz/corpus/TARGET once its fault is mended.
set -eu
build=$1 target=$2 seconds=$3
here=$(cd "$(dirname "$0")" && pwd)
work="$build/fuzz-corpus/$target"
mkdir -p "$work"
seeds=
set --
case $target in
  movie)
    # Movies of thousands of keyframes and long lines reach the loader's
    # bounds; the generated seeds are too big to commit.
    python3 "$here/make_seeds.py" "$build/fuzz-seeds/movie"
    seeds="$build/fuzz-seeds/movie"
    set -- -dict="$here/movie.dict" -max_len=600000 ;;
  picture|font) set -- -max_len=65536 -rss_limit_mb=512 -malloc_limit_mb=256 ;;
  *) set -- -max_len=16384 ;;
esac
exec "$build/bin/fuzz_$target" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
  "$@" "$work" "$here/corpus/$target" $seeds
