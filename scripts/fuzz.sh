#!/usr/bin/env bash
# Fuzzes one parser with libFuzzer for a while:
#   scripts/fuzz.sh TARGET [SECONDS]   (TARGET: a name of tests/fuzz/corpus, or "todos")
# Builds build-fuzz/ with clang (AddressSanitizer, UndefinedBehaviorSanitizer), runs the target
# from its seed corpus for SECONDS (600 by default) and leaves what it finds in
# build-fuzz/hallazgos/TARGET; the inputs it adds to the corpus stay in build-fuzz/corpus/TARGET.
# A finding, once fixed, goes into tests/fuzz/corpus/TARGET, which the tests replay.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
objetivo="${1:?uso: fuzz.sh OBJETIVO [SEGUNDOS]}"
segundos="${2:-600}"

faltan=()
for p in clang libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || faltan+=("$p")
done
if [ ${#faltan[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${faltan[@]}"
fi

if [ "$objetivo" = todos ]; then
  for c in "$raiz"/tests/fuzz/corpus/*/; do
    bash "$0" "$(basename "$c")" "$segundos"
  done
  exit 0
fi
[ -d "$raiz/tests/fuzz/corpus/$objetivo" ] || { echo "No existe el objetivo $objetivo" >&2; exit 2; }

b="$raiz/build-fuzz"
lanzador=()
command -v ccache >/dev/null && lanzador=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [ ! -f "$b/build.ninja" ]; then
  cmake -S "$raiz" -B "$b" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" -DPRORRATA_FUZZ=ON -DPRORRATA_BENCH=OFF "${lanzador[@]}" >/dev/null
fi
cmake --build "$b" --target "fuzz_$objetivo"

mkdir -p "$b/corpus/$objetivo" "$b/hallazgos/$objetivo"
export QT_QPA_PLATFORM=offscreen
# Qt's libraries are not instrumented; an error inside them is still reported.
"$b/tests/fuzz/fuzz_$objetivo" "$b/corpus/$objetivo" "$raiz/tests/fuzz/corpus/$objetivo" \
  -max_total_time="$segundos" -timeout=10 -rss_limit_mb=2048 -max_len=8192 -print_final_stats=1 \
  -artifact_prefix="$b/hallazgos/$objetivo/"
