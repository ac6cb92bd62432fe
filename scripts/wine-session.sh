# Sourced by the run and test scripts: a private Wine prefix, home folder and
# X display inside the build tree, and a way to stop all of it again.
#   start_wine_session DIR [LETTER...]
#                            sets up DIR/prefix, DIR/home, starts Xvfb and wineserver;
#                            each LETTER becomes a drive on a tmpfs (when possible)
#   stop_wine_session        stops what start_wine_session started

wine_session_log() { echo "$WINE_SESSION_DIR/session.log"; }

find_free_display() {
  local n start=$((91 + $$ % 40))
  for n in $(seq $start 199); do
    if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then echo ":$n"; return; fi
  done
  echo ":200"
}

start_wine_session() {
  WINE_SESSION_DIR=$(realpath -m "$1")
  shift
  WINE_SESSION_TMPFS=()
  local source_dir
  source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  rm -rf "$WINE_SESSION_DIR"
  mkdir -p "$WINE_SESSION_DIR/home" "$WINE_SESSION_DIR/locale"

  # Wine picks code page 936 only when the Chinese locale exists.
  localedef -i zh_CN -f UTF-8 "$WINE_SESSION_DIR/locale/zh_CN.UTF-8" >/dev/null 2>&1 || true

  export WINEPREFIX="$WINE_SESSION_DIR/prefix"
  mkdir -p "$WINEPREFIX"
  export HOME="$WINE_SESSION_DIR/home"
  export XDG_RUNTIME_DIR="$WINE_SESSION_DIR/home"
  export LOCPATH="$WINE_SESSION_DIR/locale"
  { export LANG=zh_CN.UTF-8; } 2>/dev/null
  export TZ=Asia/Shanghai
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
  export WINEARCH=win64
  WINE=/usr/lib/wine/wine64
  WINESERVER=/usr/lib/wine/wineserver
  export WINE WINESERVER

  if [ -z "${WINE_SESSION_USE_DISPLAY:-}" ]; then
    DISPLAY=$(find_free_display)
    export DISPLAY
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >"$WINE_SESSION_DIR/xvfb.log" 2>&1 &
    WINE_SESSION_XVFB=$!
    local tries=0
    while [ ! -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && [ $tries -lt 100 ]; do sleep 0.1; tries=$((tries + 1)); done
  fi
  trap stop_wine_session EXIT INT TERM

  {
    "$WINESERVER" -p
    "$WINE" wineboot -u
    "$WINE" regedit /S "$(winepath_of "$source_dir/wine-prefix.reg")"
    # Debian's Wine does not find its own Marlett, which draws the caption
    # buttons; without it they show as the letters "0 1 r".
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # Drives must exist before the server starts again: a drive mapped later
    # works for files but is missing from GetLogicalDrives and the picker.
    local letter
    for letter in "$@"; do add_tmpfs_drive "$letter" || true; done
    # wineboot has already opened the desktop with the old settings: start
    # the server afresh so the virtual desktop and fonts take effect.
    "$WINESERVER" -k || true
    "$WINESERVER" -w || true
    "$WINESERVER" -p
  } >>"$(wine_session_log)" 2>&1
  # One program keeps the virtual desktop open for the whole session.
  "$WINE" explorer.exe /desktop=Default,1024x768 >>"$(wine_session_log)" 2>&1 &
  sleep 1
}

# Maps a drive letter to a fresh folder on a tmpfs (another file system than
# the build tree), for moves across volumes. Prints nothing; fails quietly
# when /dev/shm is missing.
add_tmpfs_drive() {
  local letter=$1 folder
  [ -d /dev/shm ] && [ -w /dev/shm ] || return 1
  folder=$(mktemp -d "/dev/shm/videomigrator-${letter}-XXXXXX") || return 1
  ln -sfn "$folder" "$WINEPREFIX/dosdevices/${letter,,}:"
  WINE_SESSION_TMPFS+=("$folder")
}

# Maps a drive letter to a small tmpfs of its own (e.g. 8m) that fills up
# during a run. Mounting needs root; fails quietly otherwise.
add_small_tmpfs_drive() {
  local letter=$1 size=$2 folder
  folder=$(mktemp -d "/dev/shm/videomigrator-small-${letter}-XXXXXX") || return 1
  if ! mount -t tmpfs -o "size=$size" tmpfs "$folder" 2>/dev/null; then
    rmdir "$folder"
    return 1
  fi
  ln -sfn "$folder" "$WINEPREFIX/dosdevices/${letter,,}:"
  WINE_SESSION_MOUNTS+=("$folder")
}

winepath_of() { echo "Z:${1//\//\\}"; }

stop_wine_session() {
  trap - EXIT INT TERM
  if [ -n "${WINESERVER:-}" ] && [ -n "${WINEPREFIX:-}" ]; then
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
  fi
  local folder
  for folder in "${WINE_SESSION_TMPFS[@]}"; do rm -rf "$folder"; done
  WINE_SESSION_TMPFS=()
  # Unmounted only once Wine has let go of the files on them.
  for folder in "${WINE_SESSION_MOUNTS[@]}"; do umount "$folder" 2>/dev/null || true; rmdir "$folder" 2>/dev/null || true; done
  WINE_SESSION_MOUNTS=()
  if [ -n "${WINE_SESSION_XVFB:-}" ]; then
    kill "$WINE_SESSION_XVFB" >/dev/null 2>&1 || true
    wait "$WINE_SESSION_XVFB" 2>/dev/null || true
    WINE_SESSION_XVFB=
  fi
}
