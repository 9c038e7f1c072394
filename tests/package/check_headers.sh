#!/usr/bin/env bash
# Installs korvactl into a scratch prefix and compiles every installed header
# on its own, in a translation unit of its own, against that prefix only: a
# public header that leans on a private one (which is not installed) or on an
# include its user happened to make first fails here. Private headers must not
# be installed at all.
set -euo pipefail
build_dir=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build_dir" --prefix "$prefix" >/dev/null
inc="$prefix/include/korvactl"
private=$(find "$inc" -name '*_p.h' | sed "s#^$inc/##")
if [ -n "$private" ]; then
  echo "private headers installed:" $private
  exit 1
fi
mapfile -t headers < <(cd "$inc" && find . -name '*.h' | sed 's#^\./##' | sort)
[ ${#headers[@]} -gt 0 ] || { echo "no headers installed"; exit 1; }
project="$prefix/headers"
mkdir -p "$project"
sources=()
for h in "${headers[@]}"; do
  src="$project/$(echo "$h" | tr '/.' '__').cpp"
  printf '#include "%s"\n#include "%s" // twice: the include guard holds\n' "$h" "$h" >"$src"
  sources+=("$src")
done
cat >"$project/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(korvactl_headers LANGUAGES CXX)
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_AUTOMOC OFF)
find_package(korvactl 11 REQUIRED)
add_library(headers OBJECT ${sources[*]})
target_compile_options(headers PRIVATE -Wall -Wextra -Werror)
target_link_libraries(headers PRIVATE korvactl::korvactl)
CMAKE
cmake -S "$project" -B "$project/build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$project/build" -j2 >/dev/null
echo "${#headers[@]} installed headers compile on their own:" "${headers[@]}"
