#!/usr/bin/env bash
# Installs what is missing, builds the native and the Windows presets and runs
# every test: the logic against the test doubles (ASan/UBSan and TSan), then the
# Win32 routines, the window and the whole program under Wine in Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

for preset in native native-tsan; do
  echo "== $preset: build and test"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

echo "== windows: build"
cmake --preset windows >/dev/null
cmake --build --preset windows

echo "== windows: test under Wine"
source scripts/wine-session.sh
# Drive Y: lives on a tmpfs, so moves onto it cross file systems.
start_wine_session build/wine-test-session Y
if [ -e "$WINEPREFIX/dosdevices/y:" ]; then export VM_SECOND_DRIVE=Y:; fi
# Drive X: is a small tmpfs that fills up during a run (needs root to mount).
if add_small_tmpfs_drive X 8m; then
  export VM_SMALL_DRIVE=X:
else
  echo "note: cannot mount a small tmpfs here; the full-drive cases will be skipped"
fi
export VM_SCREENSHOT_DIR="$PWD/build/screenshots"
mkdir -p "$VM_SCREENSHOT_DIR"
ctest --preset windows
echo "Screenshots: $VM_SCREENSHOT_DIR"
