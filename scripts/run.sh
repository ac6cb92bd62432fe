#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it under Wine with a
# private prefix holding a small demonstration account. In a desktop session
# the window opens on your display; on a headless machine it runs in Xvfb and a
# screenshot is saved to build/screenshots/run.png.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target VideoMigrator window_screenshot

source scripts/wine-session.sh
if [ -n "${DISPLAY:-}" ] && xset q >/dev/null 2>&1; then
  export WINE_SESSION_USE_DISPLAY=1
fi
start_wine_session build/wine-run-session

# A demonstration account with three short "videos".
user=$(id -un)
videos="$WINEPREFIX/drive_c/users/$user/Documents/WeChat Files/demo/Video"
mkdir -p "$videos"
for name in clip1 clip2 clip3; do head -c 65536 /dev/urandom >"$videos/$name.mp4"; done
touch -d '2018-11-20 09:05:03' "$videos/clip1.mp4"
touch -d '2019-01-05 18:30:00' "$videos/clip2.mp4"

program="$(winepath_of "$PWD/build/windows/bin/VideoMigrator.exe")"
if [ -n "${WINE_SESSION_USE_DISPLAY:-}" ]; then
  echo "Starting VideoMigrator; close its window to end."
  "$WINE" "$program"
else
  mkdir -p build/screenshots
  "$WINE" "$program" &
  "$WINE" "$(winepath_of "$PWD/build/windows/bin/window_screenshot.exe")" VideoMigratorMainWindow \
    "$(winepath_of "$PWD/build/screenshots/run.png")"
  echo "Headless: the program ran under Xvfb; screenshot in build/screenshots/run.png"
fi
