#!/usr/bin/env bash
# Builds build-asan/ with AddressSanitizer and UndefinedBehaviorSanitizer (PRORRATA_SANITIZE,
# no benchmarks) and runs the tests there. Any finding ends its test with a failure; the
# suppressions in scripts/sanitizadores.supp cover only Qt's and the ODBC drivers' own code.
# Run by scripts/probar.sh, which starts the PostgreSQL cluster; extra arguments go to ctest.
# By default the SQLite part runs (the *_postgresql and *_odbc repeats are left out, to keep the
# whole test command within its time); PRORRATA_SANITIZAR_TODO=1 runs every engine.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
b="$raiz/build-asan"
lanzador=()
command -v ccache >/dev/null && lanzador=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$raiz" -B "$b" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
  -DPRORRATA_SANITIZE=ON -DPRORRATA_BENCH=OFF "${lanzador[@]}" >/dev/null
cmake --build "$b" --parallel "$(nproc)"

supp="$raiz/scripts/sanitizadores.supp"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=0:strict_string_checks=1:check_initialization_order=1"
export LSAN_OPTIONS="suppressions=$supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$supp"
cd "$b"
motores=(-E '_(postgresql|odbc)$')
[ "${PRORRATA_SANITIZAR_TODO:-0}" = 1 ] && motores=()
ctest --output-on-failure --timeout 900 "${motores[@]}" "$@"
