#!/usr/bin/env bash
# Times the real program under Wine against bare loops of the same Windows
# calls (and native cp) over the same files, measured in the same run, and
# prints one table. Not a test: it only reports.
#   BENCH_RUNS=3 (repetitions per case; the median is reported, at least 3)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${BENCH_RUNS:-3}
[ "$runs" -ge 3 ] || runs=3

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target VideoMigrator bench_driver bench_baseline >/dev/null

source scripts/wine-session.sh
start_wine_session build/bench-session
source bench/measure.sh

# Fixtures: one account whose Video folder holds the case's files, and a
# scratch folder on the same drive for the targets; both removed at the end.
account_root="$WINEPREFIX/drive_c/users/$(id -un)/Documents/WeChat Files"
video="$account_root/bench_account/Video"
scratch=$(mktemp -d "$WINEPREFIX/drive_c/vm-bench-XXXXXX")
target="$scratch/target"
cleanup() { rm -rf "$account_root" "$scratch"; stop_wine_session; }
trap cleanup EXIT INT TERM
mkdir -p "$video"

win_video=$(win_path_of "$video")
win_target=$(win_path_of "$target")

echo "VideoMigrator benchmark: $runs runs per case, median reported ($(nproc) cores)"

# --- copy of 200 files of 5 MiB
make_videos 200 $((5 * 1024 * 1024))
bench_copy "copy 200 x 5 MiB" 200 1.05
# --- copy of 10,000 files of 4 KiB
make_videos 10000 4096
bench_copy "copy 10000 x 4 KiB" 10000 1.3
# --- cut of 10,000 files on the same drive
bench_cut "cut 10000 x 4 KiB" 10000 1.3
# --- refresh with the baseline's list box shown like the program's: under
# Wine every shown line costs a screen flush, so this runs on 2,000 videos
make_videos 2000 16
bench_refresh "refresh 2000" 2000 1.5 shown
# --- refresh of 100,000 videos against the bare calls, and the memory it takes
make_videos 100000 16
bench_refresh "refresh 100000" 100000 1.5 hidden memory

print_table
