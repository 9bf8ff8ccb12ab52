#!/usr/bin/env bash
# Runs every test on any Linux machine with a Python 3.10+:
#   1. g++: the C++ tests, and the module built once as a stable-ABI wheel;
#   2. the Python tests (the fuzzer among them) under every Python 3.10+
#      found, against that one wheel;
#   3. clang with AddressSanitizer and UndefinedBehaviorSanitizer: the C++
#      tests (leak detection on) and the Python tests once more.
# Warnings are errors in both builds. Everything it makes (virtual
# environments, build trees, the wheel) is under build/: the machine's
# Pythons and the rest of the tree are left as they were. What it cannot do
# without, it installs with apt-get (GoogleTest, clang, venv support), as
# root or through sudo; with neither, it names what is missing and stops.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

export PIP_DISABLE_PIP_VERSION_CHECK=1 PIP_ROOT_USER_ACTION=ignore PIP_NO_INPUT=1
# No __pycache__ in the source tree.
export PYTHONDONTWRITEBYTECODE=1
JOBS=${JOBS:-$(nproc)}

# Stops when the packages described by $1 are missing and cannot be
# installed here (neither root nor sudo), saying which they are and the
# command $2 that installs them.
can_install() {
  if [ "$(id -u)" = 0 ] || command -v sudo >/dev/null; then
    return 0
  fi
  {
    echo "scripts/test.sh: missing package(s): $1"
    echo "They are installed with apt-get, which needs root, and there is no sudo here. As root, run:"
    echo "  apt-get update && $2"
    echo "then run scripts/test.sh again."
  } >&2
  exit 1
}

apt_updated=""
apt_install() {
  local sudo=""
  can_install "$*" "apt-get install -y $*"
  [ "$(id -u)" = 0 ] || sudo="sudo"
  if [ -z "$apt_updated" ]; then
    $sudo apt-get update -qq
    apt_updated=1
  fi
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$@" >/dev/null
}

# Package $1, or $2 where apt-get cannot install $1.
apt_install_either() {
  can_install "$1 (or $2)" "(apt-get install -y $1 || apt-get install -y $2)"
  apt_install "$1" || apt_install "$2"
}

# ---- what the machine must have

need=()
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
command -v g++ >/dev/null || need+=(g++)
command -v clang++ >/dev/null || need+=(clang)
[ ${#need[@]} -eq 0 ] || apt_install "${need[@]}"
ASAN_RUNTIME=$(clang++ -print-file-name="libclang_rt.asan-$(uname -m).so")
if [ ! -f "$ASAN_RUNTIME" ]; then
  apt_install_either "libclang-rt-$(clang++ -dumpversion | cut -d. -f1)-dev" libclang-rt-dev
  ASAN_RUNTIME=$(clang++ -print-file-name="libclang_rt.asan-$(uname -m).so")
fi

# The Pythons to test: python3 and each python3.X command on PATH, and each
# of pyenv's, 3.10 on, one per interpreter (a pyenv shim and the version it
# runs are one).
candidates=()
command -v python3 >/dev/null && candidates+=("$(command -v python3)")
IFS=: read -ra path_dirs <<<"$PATH"
for dir in "${path_dirs[@]}"; do
  for py in "$dir"/python3.*; do
    name=$(basename "$py")
    [[ "$name" =~ ^python3\.[0-9]+$ ]] && command -v "$name" >/dev/null && candidates+=("$(command -v "$name")")
  done
done
for py in "${PYENV_ROOT:-$HOME/.pyenv}"/versions/3.[1-9][0-9]*/bin/python3; do
  [ -x "$py" ] && candidates+=("$py")
done
declare -A seen=()
found=()
for py in "${candidates[@]}"; do
  line=$("$py" -c 'import os, sys; assert sys.version_info >= (3, 10)
print("%d.%d.%d" % sys.version_info[:3], os.path.realpath(sys.executable))' 2>/dev/null) || continue
  real=${line#* }
  [ -n "${seen[$real]:-}" ] && continue
  seen[$real]=1
  found+=("$line")
done
if [ ${#found[@]} -eq 0 ]; then
  echo "no Python 3.10 or later found (python3, python3.X on PATH, or pyenv's)" >&2
  exit 1
fi
mapfile -t found < <(printf '%s\n' "${found[@]}" | sort -V)

# A virtual environment of one interpreter under build/venv/<version>;
# Debian keeps venv support (and the headers the build needs) in packages.
make_venv() {
  local version=$1 py=$2 dir=build/venv/$1
  if ! "$dir/bin/python" -m pip --version >/dev/null 2>&1; then
    rm -rf "$dir"
    if ! "$py" -m venv "$dir" >/dev/null 2>&1; then
      rm -rf "$dir"
      apt_install_either "python${version%.*}-venv" python3-venv
      "$py" -m venv "$dir"
    fi
  fi
  "$dir/bin/python" -m pip install -q pytest hypothesis
}

# ---- g++: C++ tests and the wheel, from one build tree

BUILD_VERSION=${found[0]%% *}
BUILD_PY=$ROOT/build/venv/$BUILD_VERSION/bin/python
make_venv "$BUILD_VERSION" "${found[0]#* }"
"$BUILD_PY" -c 'import os, sysconfig; assert os.path.exists(os.path.join(sysconfig.get_paths()["include"], "Python.h"))' \
  2>/dev/null || apt_install "python${BUILD_VERSION%.*}-dev"
"$BUILD_PY" -m pip install -q "scikit-build-core>=0.10" "pyyaml>=6" "cmake>=3.21" ninja
# The CMake, CTest and Ninja that pip just installed.
PATH=$("$BUILD_PY" -c 'import cmake, ninja; print(cmake.CMAKE_BIN_DIR + ":" + ninja.BIN_DIR)'):$PATH

echo "== g++: C++ tests and the module (one abi3 wheel)"
rm -rf build/wheel
CXX=g++ CMAKE_BUILD_PARALLEL_LEVEL=$JOBS SKBUILD_CMAKE_DEFINE="BRASTEL_BUILD_TESTS=ON;BRASTEL_WARNINGS_AS_ERRORS=ON" \
  "$BUILD_PY" -m pip wheel -q --no-build-isolation --no-deps -w build/wheel .
WHEEL=$(ls build/wheel/brastel_compute-*-cp310-abi3-*.whl)
TREE=$(ls -d build/cp310-abi3-* | head -n 1)
# The CMake that configured that tree (pip's build may use its own).
TREE_CMAKE=$(sed -n 's/^CMAKE_COMMAND:INTERNAL=//p' "$TREE/CMakeCache.txt")
# The binding probe: a test-only module over the same binding layer.
"$TREE_CMAKE" --build "$TREE" --target _binding_probe -j "$JOBS"
"$(dirname "$TREE_CMAKE")/ctest" --test-dir "$TREE" --output-on-failure -j "$JOBS"

# Runs the Python tests with the given interpreter, from a folder under
# build/ (where hypothesis keeps its examples); extra environment first.
python_tests() {
  local name=$1 py=$2
  shift 2
  mkdir -p "build/pytest/$name"
  (cd "build/pytest/$name" && env "$@" "$py" -m pytest -q -p no:cacheprovider "$ROOT/brastel-compute-python/tests")
}

for entry in "${found[@]}"; do
  version=${entry%% *}
  echo "== Python tests under Python $version"
  make_venv "$version" "${entry#* }"
  build/venv/$version/bin/python -m pip install -q --force-reinstall --no-deps "$WHEEL"
  python_tests "$version" "$ROOT/build/venv/$version/bin/python" BRASTEL_PROBE_DIR="$ROOT/$TREE/probe"
done

# ---- clang with sanitizers: C++ tests, then the Python tests once

echo "== clang, AddressSanitizer + UndefinedBehaviorSanitizer: C++ tests"
# A tree configured for another Python is made again.
grep -q "^Python_EXECUTABLE:[A-Z]*=$BUILD_PY\$" build/asan/CMakeCache.txt 2>/dev/null || rm -rf build/asan
cmake -S . -B build/asan -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Release \
  -DBRASTEL_SANITIZE=ON -DBRASTEL_BUILD_TESTS=ON -DBRASTEL_WARNINGS_AS_ERRORS=ON \
  -DPython_EXECUTABLE="$BUILD_PY" -DPython3_EXECUTABLE="$BUILD_PY" >/dev/null
cmake --build build/asan -j "$JOBS" --target all _binding_probe
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build/asan --output-on-failure -j "$JOBS"

echo "== clang, AddressSanitizer + UndefinedBehaviorSanitizer: Python tests under Python $BUILD_VERSION"
STAGE=build/asan/python/brastel/compute
rm -rf build/asan/python
mkdir -p "$STAGE"
cp brastel-compute-python/python/brastel/compute/*.py "$STAGE/"
cp build/asan/brastel-compute-python/_compute*.so "$STAGE/"
# The interpreter is not built with the sanitizer: its runtime is preloaded,
# and Python's own allocator stepped aside so that objects are checked too.
# The interpreter's own leaks at exit are not ours: leak detection is off.
ASAN_ENV=(LD_PRELOAD="$ASAN_RUNTIME" ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1
  PYTHONMALLOC=malloc PYTHONPATH="$ROOT/build/asan/python" BRASTEL_PROBE_DIR="$ROOT/build/asan/probe")
env "${ASAN_ENV[@]}" "$BUILD_PY" -c 'import sys, brastel.compute._compute as m
sys.exit(0 if "/build/asan/" in m.__file__ else "not the sanitizer build: " + m.__file__)'
python_tests "asan-$BUILD_VERSION" "$BUILD_PY" "${ASAN_ENV[@]}"

# ---- benchmarks: they print their ratios, they fail nothing

echo "== Benchmarks under Python $BUILD_VERSION"
"$BUILD_PY" -m pip install -q orjson
"$BUILD_PY" bench/call_cost.py --quick
"$BUILD_PY" bench/json_cost.py --quick
"$BUILD_PY" bench/node_memory.py
