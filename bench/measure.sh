#!/usr/bin/env bash
# Whole-process timings: logweave-cli against cat on the same generated logs,
# as ratios of their mean (and median) times, and the peak memory of an open.
# Builds nothing; build the bench preset first:
#   cmake --preset bench && cmake --build --preset bench
#
# usage: bench/measure.sh [--runs N] [--warmup N] [--seed N] [--shell] [--keep]
#   --runs N    at least N timed runs of each command (default 30)
#   --warmup N  untimed runs before them (default 3)
#   --seed N    seed of the generated logs (default 1, as logweave_bench)
#   --shell     run every command through hyperfine's shell, which hyperfine
#               calibrates and subtracts; the default is -N (no shell) for
#               every command. Either way hyperfine sends the output of both
#               sides to /dev/null, so "cat LOG" is "cat LOG > /dev/null".
#   --keep      keep the folder of logs and results, and say where it is
set -euo pipefail

runs=30
warmup=3
seed=1
shell_mode=none
keep=false
while (($#)); do
    case $1 in
    --runs) runs=$2; shift 2 ;;
    --warmup) warmup=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --shell) shell_mode=sh; shift ;;
    --keep) keep=true; shift ;;
    *) sed -n '/^# usage/,/^set -e/p' "$0" | sed '$d' >&2; exit 2 ;;
    esac
done

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bin=${LOGWEAVE_BENCH_BIN:-$root/build/bench/bin}
cli=$bin/logweave-cli
genlog=$bin/logweave_genlog
for program in "$cli" "$genlog"; do
    if [[ ! -x $program ]]; then
        echo "measure.sh: $program is missing: build the bench preset first" >&2
        exit 1
    fi
done

# hyperfine and GNU time are Debian packages; fetch them when they are missing.
missing=()
command -v hyperfine >/dev/null || missing+=(hyperfine)
[[ -x /usr/bin/time ]] || missing+=(time)
if ((${#missing[@]})); then
    if [[ $(id -u) -ne 0 ]] || ! command -v apt-get >/dev/null; then
        echo "measure.sh: install ${missing[*]} first" >&2
        exit 1
    fi
    apt-get update -qq && apt-get install -y -qq "${missing[@]}" >/dev/null
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/logweave-measure-XXXXXX")
if $keep; then
    echo "logs and results kept in $work"
else
    trap 'rm -rf "$work"' EXIT
fi
logs=$work/logs
out=$work/out
mkdir -p "$logs" "$out"
"$genlog" --seed "$seed" "$logs" >"$work/logs.txt"
# Other work on the machine shows in every figure: say how busy it was.
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

q() { printf '%q' "$1"; }
cli_cmd="$(q "$cli") --no-order --folder $(q "$out")"
cat_cmd() {
    local c="cat"
    for f in "$@"; do c+=" $(q "$f")"; done
    [[ $shell_mode == sh ]] && c+=" > /dev/null"
    echo "$c"
}
if [[ $shell_mode == none ]]; then
    shell_args=(-N)
else
    shell_args=(--shell=sh)
fi

log=$logs/shuffled.adi
a=$logs/merge_a.adi
b=$logs/merge_b.adi
fit_a=$logs/merge_fit_a.adi
fit_b=$logs/merge_fit_b.adi
filter="'BAND:20M;MODE:FT8'"
open_cmd="$cli_cmd open $(q "$log")"
add_cmd="$cli_cmd open $(q "$a") add $(q "$b")"
add_fit_cmd="$cli_cmd open $(q "$fit_a") add $(q "$fit_b")"
filter_cmd="$cli_cmd open $(q "$log") filter $filter"

# Each command once, outside the timings: it must end as expected, or the
# figures would time a failure. 20000 records a side merge into 30000, more
# than the program holds: that add writes its merged file and exits with 1.
expect() {
    local want=$1 command=$2 status=0
    eval "$command" >"$work/check.txt" 2>&1 || status=$?
    if [[ $status -ne $want ]]; then
        echo "measure.sh: exit status $status, not $want: $command" >&2
        cat "$work/check.txt" >&2
        exit 1
    fi
}
expect 0 "$open_cmd"
expect 0 "$filter_cmd"
expect 0 "$add_fit_cmd"
expect 1 "$add_cmd"
grep -q "more than the 20000" "$work/check.txt" || {
    echo "measure.sh: the add of 20000 + 20000 records stopped for another reason:" >&2
    cat "$work/check.txt" >&2
    exit 1
}

# hyperfine: the two commands of one comparison in one run; prints its own
# report and leaves mean and median (seconds) of both in $work/NAME.csv.
compare() {
    local name=$1 tool_cmd=$2 cat_command=$3
    shift 3
    echo
    echo "=== $name"
    hyperfine "${shell_args[@]}" --style basic --warmup "$warmup" --min-runs "$runs" \
        --export-csv "$work/$name.csv" "$@" -n logweave "$tool_cmd" -n cat "$cat_command"
}

# Max resident set size in KiB, the largest of five runs (whatever the exit status).
peak_kib() {
    local peak=0 kib
    for _ in 1 2 3 4 5; do
        eval "/usr/bin/time -v $1" >/dev/null 2>"$work/time.txt" || true
        kib=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
        if ((kib > peak)); then peak=$kib; fi
    done
    echo "$peak"
}

compare open "$open_cmd" "$(cat_cmd "$log")"
compare add-full "$add_cmd" "$(cat_cmd "$a" "$b")" --ignore-failure
compare add-fit "$add_fit_cmd" "$(cat_cmd "$fit_a" "$fit_b")"
compare filter "$filter_cmd" "$(cat_cmd "$log")"

echo
echo "=== load average before: $load_before, after the timings: $(cut -d' ' -f1-3 /proc/loadavg) ($(nproc) cores)"
echo
echo "=== logs (seed $seed)"
cat "$work/logs.txt"

echo
echo "=== ratios (hyperfine shell mode: $([[ $shell_mode == none ]] && echo "none, -N" || echo sh))"
printf '%-9s %12s %12s %9s %9s %8s  %s\n' case logweave_ms cat_ms x_mean x_median target verdict
ratio() {
    local name=$1 target=$2
    awk -F, -v name="$name" -v target="$target" '
        NR > 1 { mean[$1] = $2; median[$1] = $4 }
        END {
            xm = mean["logweave"] / mean["cat"]
            xd = median["logweave"] / median["cat"]
            printf "%-9s %12.2f %12.2f %9.1f %9.1f %7sx  %s\n", name, mean["logweave"] * 1e3, mean["cat"] * 1e3,
                xm, xd, target, (xm <= target ? "within" : "over")
        }' "$work/$name.csv"
}
ratio open 15
ratio add-full 30
ratio add-fit 30
ratio filter 20

echo
echo "=== peak memory (/usr/bin/time -v, largest of 5 runs)"
size=$(stat -c %s "$log")
bound_kib=$(((4 * size + 10 * 1024 * 1024) / 1024))
open_kib=$(peak_kib "$open_cmd")
awk -v kib="$open_kib" -v bound="$bound_kib" -v size="$size" 'BEGIN {
    printf "open:   %.1f MiB, bound 4 x %.2f MiB + 10 MiB = %.1f MiB: %s (%.0f%% of the bound)\n",
        kib / 1024, size / 1048576, bound / 1024, (kib <= bound ? "within" : "over"), 100 * kib / bound }'
for pair in "add-full:$add_cmd" "add-fit:$add_fit_cmd" "filter:$filter_cmd"; do
    kib=$(peak_kib "${pair#*:}")
    awk -v kib="$kib" -v name="${pair%%:*}" 'BEGIN { printf "%-7s %.1f MiB\n", name ":", kib / 1024 }'
done
