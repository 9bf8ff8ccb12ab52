#!/usr/bin/env bash
# Installs what the tests need and runs every test: the C++ core's tests
# under ctest, then the Python tests under every Python 3.10+ on the machine
# against one stable-ABI build of the module.
set -euo pipefail
cd "$(dirname "$0")/.."

export PIP_ROOT_USER_ACTION=ignore PIP_DISABLE_PIP_VERSION_CHECK=1
PY=${PYTHON:-python3}
JOBS=$(nproc)

# GoogleTest for the C++ tests.
if [ ! -f /usr/include/gtest/gtest.h ]; then
  if [ "$(id -u)" = 0 ]; then SUDO=""; else SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq libgtest-dev >/dev/null
fi
"$PY" -m pip install -q --disable-pip-version-check \
  "scikit-build-core>=0.10" "pyyaml>=6" "cmake>=3.21" ninja pytest hypothesis

# The CMake, CTest and Ninja that pip just installed, wherever pip put them.
TOOLS=$("$PY" -c 'import cmake, ninja; print(cmake.CMAKE_BIN_DIR + ":" + ninja.BIN_DIR)')
export PATH="$TOOLS:$PATH"

echo "== C++ core tests"
cmake -S . -B build/core-tests -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DBRASTEL_BUILD_TESTS=ON -DBRASTEL_BUILD_PYTHON=OFF -DPython3_EXECUTABLE="$(command -v "$PY")" >/dev/null
cmake --build build/core-tests -j "$JOBS"
ctest --test-dir build/core-tests --output-on-failure -j "$JOBS"

echo "== Python module (one abi3 wheel)"
rm -rf dist
"$PY" -m pip wheel -q --no-build-isolation --no-deps -w dist .
WHEEL=$(ls dist/brastel_compute-*-cp310-abi3-*.whl)

echo "== Binding probe (test-only module, from the wheel's build tree)"
PROBE_BUILD=$(ls -d build/cp310-abi3-* | head -n 1)
# The cmake that configured that tree (pip's build may use its own).
PROBE_CMAKE=$(sed -n 's/^CMAKE_COMMAND:INTERNAL=//p' "$PROBE_BUILD/CMakeCache.txt")
"${PROBE_CMAKE:-cmake}" --build "$PROBE_BUILD" --target _binding_probe -j "$JOBS"
export BRASTEL_PROBE_DIR="$PWD/$PROBE_BUILD/probe"

pythons=()
for v in /root/.pyenv/versions/3.1[0-9]*; do
  [ -x "$v/bin/python3" ] && pythons+=("$v/bin/python3")
done
[ ${#pythons[@]} -gt 0 ] || pythons=("$(command -v "$PY")")

for py in "${pythons[@]}"; do
  echo "== Python tests under $("$py" --version)"
  "$py" -m pip install -q --disable-pip-version-check pytest hypothesis
  "$py" -m pip install -q --disable-pip-version-check --force-reinstall --no-deps "$WHEEL"
  (cd brastel-compute-python/tests && "$py" -m pytest -q -p no:cacheprovider .)
done
