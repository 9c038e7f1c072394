#!/usr/bin/env bash
# Installs the built korvactl into a scratch prefix, builds the embedding
# example against it with find_package, and runs its self-test: the path a Qt
# developer takes to use a control from their own program.
set -euo pipefail
build_dir=$1
source_dir=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build_dir" --prefix "$prefix" >/dev/null
cmake -S "$source_dir/examples/embed" -B "$prefix/embed-build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$prefix/embed-build" >/dev/null
QT_QPA_PLATFORM=offscreen "$prefix/embed-build/embed" --self-test
