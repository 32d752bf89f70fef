#!/bin/bash
# Measures scenery-renumber on a large generated configuration against cat, a plain read/write
# copy and the same renumbering in mawk, and its peak memory on a 1 GiB file of one line.
#
#   bench/benchmark.sh [-b BUILD_DIR] [-d DATA_DIR] [-s SIZE_MB]
#
# BUILD_DIR (default build/bench) is configured with the native preset and built if needed.
# DATA_DIR (default build/bench-data) holds the generated inputs, kept for the next run, and the
# outputs, removed at the end. SIZE_MB (default 400) is the configuration's size.
#
# Every figure is the best of 3 runs with the input in the page cache; each run writes a new
# file on the input's filesystem (the old one is removed and written back beforehand, untimed),
# so no run pays for another's truncation or writeback. Nothing here asserts a time.
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$source_dir/build/bench
data_dir=$source_dir/build/bench-data
size_mb=400
while getopts b:d:s: option; do
    case $option in
    b) build_dir=$OPTARG ;;
    d) data_dir=$OPTARG ;;
    s) size_mb=$OPTARG ;;
    *) sed -n 5p "$0" >&2 && exit 2 ;;
    esac
done

for command in python3 mawk /usr/bin/time; do
    command -v "$command" >/dev/null ||
        { echo "benchmark: $command is missing; scripts/install-deps.sh installs it" >&2; exit 1; }
done

# The driver, built from the current sources.
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake --preset native -B "$build_dir" -S "$source_dir" >/dev/null
fi
cmake --build "$build_dir" -j2 --target scenery-renumber >/dev/null
driver=$build_dir/bench/scenery-renumber
awk_script=$source_dir/bench/renumber.awk
generator=$source_dir/bench/make-config.py

# Inputs, made again only when missing or older than their generator.
mkdir -p "$data_dir"
Generate() { # KIND SIZE PATH
    if [ ! -f "$3" ] || [ "$generator" -nt "$3" ]; then
        echo "generating $3" >&2
        python3 "$generator" "$1" "$2" "$3.part" >/dev/null
        mv "$3.part" "$3"
    fi
}
config=$data_dir/areas-${size_mb}MB.cfg
check=$data_dir/areas-20MB.cfg
line=$data_dir/line-1GiB.cfg
Generate areas "$size_mb" "$config"
Generate areas 20 "$check"
Generate line $((1024 * 1024 * 1024)) "$line"
out=$data_dir/out.cfg
out2=$data_dir/out2.cfg
trap 'rm -f "$out" "$out2"' EXIT

RunAwk() { LC_ALL=C mawk -f "$awk_script" "$1" >"$2"; }

# The yardstick must do the same work: mawk and the driver agree byte for byte.
"$driver" "$check" "$out"
RunAwk "$check" "$out2"
cmp -s "$out" "$out2" || { echo "benchmark: mawk and scenery-renumber differ on $check" >&2; exit 1; }

# Best of 3 wall-clock times of COMMAND SRC DST, in seconds.
BestOf3() {
    local best="" run start end
    for run in 1 2 3; do
        rm -f "$3"
        sync
        start=$(date +%s%N)
        "$@"
        end=$(date +%s%N)
        if [ -z "$best" ] || [ $((end - start)) -lt "$best" ]; then
            best=$((end - start))
        fi
    done
    awk -v ns="$best" 'BEGIN { printf "%.3f", ns / 1e9 }'
}
Cat() { cat "$1" >"$2"; }
Copy() { dd if="$1" of="$2" bs=256K status=none; }
Ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
Verdict() { awk -v v="$1" -v goal="$2" -v op="$3" \
    'BEGIN { print ((op == "<=" ? v <= goal : v >= goal) ? "met" : "MISSED") }'; }

cat "$config" "$line" >/dev/null # into the page cache
config_bytes=$(stat -c %s "$config")
areas=$(LC_ALL=C grep -ci '^\[area' "$config")
lines=$(wc -l <"$config")

driver_time=$(BestOf3 "$driver" "$config" "$out")
cat_time=$(BestOf3 Cat "$config" "$out")
copy_time=$(BestOf3 Copy "$config" "$out")
awk_time=$(BestOf3 RunAwk "$config" "$out")

line_bytes=$(stat -c %s "$line")
line_driver_time=$(BestOf3 "$driver" "$line" "$out")
line_cat_time=$(BestOf3 Cat "$line" "$out")
rm -f "$out"
sync
peak_kib=$(/usr/bin/time -f %M "$driver" "$line" "$out" 2>&1 >/dev/null)
cmp -s "$line" "$out" || { echo "benchmark: the single line did not come through whole" >&2; exit 1; }

cat_ratio=$(Ratio "$driver_time" "$cat_time")
awk_ratio=$(Ratio "$awk_time" "$driver_time")
cat <<EOF
scenery-renumber benchmark: best of 3 runs, warm page cache, each run writing a new file
machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), \
$(df -T "$data_dir" | awk 'NR == 2 { print $2 }') at $data_dir

configuration: $config_bytes bytes, $areas areas, $lines lines (CR LF)
  scenery-renumber      $driver_time s
  cat                   $cat_time s   driver/cat $cat_ratio, goal <= 1.5: $(Verdict "$cat_ratio" 1.5 "<=")
  dd bs=256K            $copy_time s   driver/dd $(Ratio "$driver_time" "$copy_time") (a plain read/write copy, for scale)
  mawk                  $awk_time s   mawk/driver $awk_ratio, goal >= 10: $(Verdict "$awk_ratio" 10 ">=")

single line: $line_bytes bytes
  scenery-renumber      $line_driver_time s
  cat                   $line_cat_time s   driver/cat $(Ratio "$line_driver_time" "$line_cat_time")
  peak RSS              $peak_kib KiB, goal <= 16384 KiB: $(Verdict "$peak_kib" 16384 "<=")
EOF
