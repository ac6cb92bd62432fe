# Sourced by bench/run.sh once the Wine session runs and $video, $target,
# $win_video and $win_target are set: fixture making, the timed runs of each
# case and the final table.

bench_bin="$PWD/build/windows/bin"
bench_log="$WINE_SESSION_DIR/bench.log"
rows=()

# C:\... of a path inside the prefix's drive C.
win_path_of() {
  local inside=${1#"$WINEPREFIX/drive_c/"}
  echo "C:\\${inside//\//\\}"
}

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
maximum() { printf '%s\n' "$@" | sort -g | tail -n 1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", (b > 0 ? a / b : 0) }'; }
at_most() { awk -v v="$1" -v limit="$2" 'BEGIN { print (v <= limit ? "met" : "MISSED") }'; }

# key=value of the last Windows program's output.
value_of() { printf '%s\n' "$output" | tr -d '\r' | sed -n "s/^$1=//p" | tail -n 1; }

run_windows() {
  local program=$1; shift
  if ! output=$("$WINE" "$(winepath_of "$bench_bin/$program")" "$@" 2>>"$bench_log"); then
    echo "$program $* failed:" >&2
    printf '%s\n' "$output" >&2
    exit 1
  fi
}

# $1 files of $2 bytes of random data in the Video folder, named like the
# client's videos and spread over the twelve months of 2019.
make_videos() {
  local count=$1 size=$2 month lists
  rm -rf "$video" && mkdir -p "$video"
  head -c $((count * size)) /dev/urandom | split -b "$size" -a 6 -d --additional-suffix=.mp4 - "$video/wxv_16c9a3e2f0b5_"
  lists=$(mktemp -d "$scratch/lists-XXXXXX")
  (cd "$video" && ls -f | grep '\.mp4$' | awk -v dir="$lists" '{ print > (dir "/" (NR % 12 + 1)) }')
  for month in $(seq 1 12); do
    [ -f "$lists/$month" ] || continue
    (cd "$video" && xargs -a "$lists/$month" -d '\n' touch -d "2019-$(printf %02d "$month")-15 10:20:30")
  done
  rm -rf "$lists"
  sync
}

reset_target() { rm -rf "$target" && mkdir -p "$target" && sync; }
files_in() { find "$1" -type f -name '*.mp4' | wc -l; }
put_back() { find "$target" -type f -name '*.mp4' -exec mv -t "$video" {} +; }

check_count() {
  local where=$1 expected=$2 found
  found=$(files_in "$where")
  [ "$found" -eq "$expected" ] || { echo "expected $expected files in $where, found $found" >&2; exit 1; }
}

mb() { awk -v v="$1" 'BEGIN { printf "%.1f MB", v / 1000000 }'; }

add_row() { rows+=("$(printf '%s\t%s\t%s\t%s\t%s\t%s' "$@")"); }

# Latency figures of the program's runs of one case: the worst max and p99.
add_latency_row() {
  local label=$1 maxima=$2 p99s=$3 max p99
  max=$(maximum $maxima)
  p99=$(maximum $p99s)
  add_row "answer to WM_NULL, $label" "max ${max} ms" "p99 ${p99} ms" "-" "<= 50 ms" "$(at_most "$max" 50)"
}

bench_copy() {
  local label=$1 count=$2 limit=$3 run program=() baseline=() native=() maxima="" p99s="" started
  for run in $(seq 1 "$runs"); do
    reset_target
    run_windows bench_driver.exe migrate "$win_target" copy "$count"
    program+=("$(value_of seconds)")
    maxima+=" $(value_of latency_max_ms)"; p99s+=" $(value_of latency_p99_ms)"
    check_count "$target" "$count"

    reset_target
    run_windows bench_baseline.exe copy "$win_video" "$win_target"
    baseline+=("$(value_of seconds)")
    check_count "$target" "$count"

    reset_target
    started=$(date +%s.%N)
    cp -- "$video"/*.mp4 "$target"/
    native+=("$(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { printf "%.4f", b - a }')")
    check_count "$target" "$count"
    echo "  $label run $run: program ${program[-1]} s, CopyFileW loop ${baseline[-1]} s, cp ${native[-1]} s"
  done
  rm -rf "$target"
  local p b n
  p=$(median "${program[@]}"); b=$(median "${baseline[@]}"); n=$(median "${native[@]}")
  add_row "$label (vs CopyFileW loop)" "$p" "$b" "$(ratio "$p" "$b")" "<= $limit" "$(at_most "$(ratio "$p" "$b")" "$limit")"
  add_row "$label (vs native cp)" "$p" "$n" "$(ratio "$p" "$n")" "-" "-"
  add_latency_row "$label" "$maxima" "$p99s"
}

bench_cut() {
  local label=$1 count=$2 limit=$3 run program=() baseline=() maxima="" p99s=""
  for run in $(seq 1 "$runs"); do
    reset_target
    run_windows bench_driver.exe migrate "$win_target" cut "$count"
    program+=("$(value_of seconds)")
    maxima+=" $(value_of latency_max_ms)"; p99s+=" $(value_of latency_p99_ms)"
    check_count "$target" "$count"; check_count "$video" 0
    put_back

    reset_target
    run_windows bench_baseline.exe move "$win_video" "$win_target"
    baseline+=("$(value_of seconds)")
    check_count "$target" "$count"; check_count "$video" 0
    put_back
    echo "  $label run $run: program ${program[-1]} s, MoveFileW loop ${baseline[-1]} s"
  done
  rm -rf "$target"
  local p b
  p=$(median "${program[@]}"); b=$(median "${baseline[@]}")
  add_row "$label (vs MoveFileW loop)" "$p" "$b" "$(ratio "$p" "$b")" "<= $limit" "$(at_most "$(ratio "$p" "$b")" "$limit")"
  add_latency_row "$label" "$maxima" "$p99s"
}

# $4: whether the baseline's list box is shown like the program's ("shown")
# or hidden ("hidden"); $5: also report memory and the exe size.
bench_refresh() {
  local label=$1 count=$2 limit=$3 list=$4 report=${5:-} run program=() baseline=() maxima="" p99s="" peaks=() idle=() helper=()
  for run in $(seq 1 "$runs"); do
    run_windows bench_driver.exe refresh "$count"
    program+=("$(value_of seconds)")
    maxima+=" $(value_of latency_max_ms)"; p99s+=" $(value_of latency_p99_ms)"
    peaks+=("$(value_of peak_bytes)"); idle+=("$(value_of idle_peak_bytes)")

    run_windows bench_baseline.exe enumerate "$win_video" "$list"
    baseline+=("$(value_of seconds)")
    helper+=("$(value_of peak_bytes)")
    echo "  $label run $run: program ${program[-1]} s, enumerate-and-add loop ${baseline[-1]} s"
  done
  local p b mb peak
  p=$(median "${program[@]}"); b=$(median "${baseline[@]}")
  add_row "$label (vs loop, list $list)" "$p" "$b" "$(ratio "$p" "$b")" "<= $limit" "$(at_most "$(ratio "$p" "$b")" "$limit")"
  add_latency_row "$label" "$maxima" "$p99s"
  [ -n "$report" ] || return 0
  peak=$(maximum "${peaks[@]}")
  add_row "peak working set, $count lines" "$(mb "$peak")" "$(mb "$(maximum "${helper[@]}")")" \
    "idle $(mb "$(maximum "${idle[@]}")")" "<= 30 MB" "$(at_most "$peak" 30000000)"
  local size
  size=$(stat -c %s "$bench_bin/VideoMigrator.exe")
  add_row "size of VideoMigrator.exe" "$size bytes" "-" "-" "<= 1048576" "$(at_most "$size" 1048576)"
}

print_table() {
  echo
  local format='%-44s  %-14s  %-14s  %-12s  %-12s  %s\n' row
  # shellcheck disable=SC2059
  printf "$format" case "program s" "baseline s" ratio target result
  for row in "${rows[@]}"; do
    IFS=$'\t' read -r -a cells <<<"$row"
    # shellcheck disable=SC2059
    printf "$format" "${cells[@]}"
  done
  echo
  echo "Baselines: bench_baseline.exe (bare FindFirstFileW/FindNextFileW + LB_ADDSTRING, CopyFileW, MoveFileW"
  echo "loops), and cp. Memory row: program, the baseline helper with the same lines, the program idle."
}
