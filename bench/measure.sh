#!/usr/bin/env bash
# Whole-process timings: logweave-cli against cat on the same generated logs,
# as ratios of their mean and median times, and the peak memory of an open
# and of an add. Builds nothing; build the bench preset first:
#   cmake --preset bench && cmake --build --preset bench
#
# usage: bench/measure.sh [--records N] [--runs N] [--warmup N] [--seed N] [--threads N] [--shell] [--keep]
#   --records N  records in the log, and on each side of the merge (default
#                1000000: about 290 MB a log; logs and results then take
#                about 3.3 GB in TMPDIR, 50 times what 20000 records take)
#   --runs N     at least N timed runs of each command (default 10), then
#                N rounds of every command once, paired with its yardstick
#   --warmup N   untimed runs before them (default 1)
#   --seed N     seed of the generated logs (default 1, as logweave_bench)
#   --threads N  logweave-cli --threads N (default: as many as the machine runs)
#   --shell      run every command through hyperfine's shell, which hyperfine
#                calibrates and subtracts; the default is -N (no shell) for
#                every command. Either way hyperfine sends what the commands
#                print to /dev/null; the yardstick cat writes a file of the
#                output folder ("cat LOG > OUT"), the floor of an operation
#                that reads a log and writes it again.
#   --keep       keep the folder of logs and results, and say where it is
# Every timed run, cat's too, starts after `sync` (hyperfine --prepare): the
# runs before it leave hundreds of megabytes of written files in memory, and
# their writing back would otherwise slow down the run being timed.
set -euo pipefail

records=1000000
runs=10
warmup=1
seed=1
shell_mode=none
keep=false
threads=
usage() { sed -n '/^# usage/,/^set -e/p' "$0" | sed '$d' >&2; exit 2; }
while (($#)); do
    case $1 in
    --records) records=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --warmup) warmup=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --threads) threads=$2; shift 2 ;;
    --shell) shell_mode=sh; shift ;;
    --keep) keep=true; shift ;;
    *) usage ;;
    esac
done
[[ $records =~ ^[1-9][0-9]*$ && $runs =~ ^[1-9][0-9]*$ && $warmup =~ ^[0-9]+$ && $threads =~ ^[0-9]*$ ]] || usage

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
# hyperfine and GNU time come with the bench set of the project's packages.
if ! command -v hyperfine >/dev/null || [[ ! -x /usr/bin/time ]]; then
    "$root/scripts/install-deps" --bench
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
"$genlog" --seed "$seed" --records "$records" "$logs" shuffled field_per_line merge >"$work/logs.txt"
# A fact genlog printed about a file: fact FILE KEY.
fact() { awk -v file="$1" -v key="$2=" '$1 == file { for (i = 2; i <= NF; ++i) if (index($i, key) == 1) print substr($i, length(key) + 1) }' "$work/logs.txt"; }
filter_matches=$(fact shuffled.adi filter_matches)
merged=$(fact merge_a.adi merged)
# Other work on the machine shows in every figure: say how busy it was.
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

q() { printf '%q' "$1"; }
cli_cmd="$(q "$cli") --no-order --folder $(q "$out")${threads:+ --threads $threads}"
# The floor of an operation that reads logs and writes them again: cat into
# a file of the output folder, through sh for the redirection. Each yardstick
# has a file of its own: it replaces what it wrote itself, as each logweave
# command does, and never a file of another size.
cat_cmd() {
    local into=$1 c="cat"
    shift
    for f in "$@"; do c+=" $(q "$f")"; done
    c+=" > $(q "$out/$into")"
    echo "sh -c $(q "$c")"
}
if [[ $shell_mode == none ]]; then
    shell_args=(-N)
else
    shell_args=(--shell=sh)
fi

log=$logs/shuffled.adi
fpl=$logs/field_per_line.adi
a=$logs/merge_a.adi
b=$logs/merge_b.adi
open_cmd="$cli_cmd open $(q "$log")"
fpl_cmd="$cli_cmd open $(q "$fpl")"
add_cmd="$cli_cmd --conflict open open $(q "$a") add $(q "$b")"
window_cmd="$cli_cmd --conflict open --match window open $(q "$a") add $(q "$b")"
filter_cmd="$cli_cmd open $(q "$log") filter 'BAND:20M;MODE:FT8'"
cat_log_cmd=$(cat_cmd cat_log.adi "$log")
cat_a_b_cmd=$(cat_cmd cat_a_b.adi "$a" "$b")
cat_log_again_cmd=$(cat_cmd cat_log_again.adi "$log")

# Each command once, outside the timings: it must succeed and write what it
# should, or the figures would time a failure.
records_in() { grep -c $'<eor>\r$' "$out/$1" || true; }
expect() {
    local command=$1
    shift
    if ! eval "$command" >"$work/check.txt" 2>&1; then
        echo "measure.sh: failed: $command" >&2
        cat "$work/check.txt" >&2
        exit 1
    fi
    while (($#)); do
        local found
        found=$(records_in "$1")
        if [[ $found != "$2" ]]; then
            echo "measure.sh: $1 holds $found records, not $2, after: $command" >&2
            exit 1
        fi
        shift 2
    done
}
expect "$open_cmd" Adif_File.adi "$records"
expect "$fpl_cmd" Adif_File.adi "$records"
expect "$add_cmd" Logweave.adi "$merged"
expect "$window_cmd" Logweave.adi "$merged"
expect "$filter_cmd" Adif_Filtre2.adi "$filter_matches" Adif_Filtre1.adi $((records - filter_matches))

# hyperfine: the commands of one comparison in one run, each as -n NAME CMD;
# prints its own report and leaves mean and median (seconds) in $work/NAME.csv.
compare() {
    local name=$1
    shift
    echo
    echo "=== $name"
    hyperfine "${shell_args[@]}" --style basic --prepare sync --warmup "$warmup" --min-runs "$runs" \
        --export-csv "$work/$name.csv" "$@"
}

compare open -n open "$open_cmd" -n field_per_line "$fpl_cmd" -n cat_log "$cat_log_cmd"
compare add -n add "$add_cmd" -n add_window "$window_cmd" -n cat_a_b "$cat_a_b_cmd"
compare filter -n filter "$filter_cmd" -n cat_log_again "$cat_log_again_cmd"

echo
echo "=== load average before: $load_before, after the timings: $(cut -d' ' -f1-3 /proc/loadavg) ($(nproc) cores, logweave-cli --threads ${threads:-$(nproc)})"
echo
echo "=== logs (seed $seed)"
cat "$work/logs.txt"

# Every command's mean and median, one "name mean median" line each.
tail -q -n +2 "$work"/open.csv "$work"/add.csv "$work"/filter.csv | awk -F, '{ print $1, $2, $4 }' >"$work/times.txt"

echo
echo "=== ratios (hyperfine shell mode: $([[ $shell_mode == none ]] && echo "none, -N" || echo sh); each run after sync)"
awk '
    { mean[$1] = $2 * 1e3; median[$1] = $3 * 1e3 }
    function row(name, against, ms, against_ms, x_mean, x_median, target) {
        printf "%-15s %-17s %11.1f %11.1f %8.2f %8.2f %7sx  %s\n", name, against, ms, against_ms, x_mean, x_median,
            target, (x_mean <= target ? "within" : "over")
    }
    function ratio(name, against, label, target) {
        row(name, label, mean[name], mean[against], mean[name] / mean[against], median[name] / median[against], target)
    }
    END {
        printf "%-15s %-17s %11s %11s %8s %8s %8s  %s\n", "case", "against", "mean_ms", "against_ms",
            "x_mean", "x_median", "target", "verdict"
        ratio("open", "cat_log", "cat LOG > OUT", 5)
        ratio("field_per_line", "open", "open (one line)", 1.5)
        ratio("add", "cat_a_b", "cat A B > OUT", 6)
        ratio("add_window", "add", "add (exact rule)", 1.2)
        ratio("filter", "cat_log_again", "cat LOG > OUT", 6)
    }' "$work/times.txt"

# Paired runs, as farm-bench --vs makes them: for each case, rounds of the
# case and then its yardstick, each after sync, and the case's ratio is the
# median over the rounds of its time over its yardstick's. hyperfine times
# all the runs of a command together, and the pace of a shared machine drifts
# over minutes: two runs seconds apart meet the same pace. And each of the
# two follows the other: here a run that follows one that freed much memory
# (cat's truncation of its output, a process's exit) finds it quicker to
# take. A round of every command in turn put the window rule, run after cat,
# at 0.95 times the exact rule, run after an open; pairs of the two, at 1.40.
run_us() {
    local start end
    sync
    start=$(date +%s%N)
    if ! eval "$1" >/dev/null 2>&1; then
        echo "measure.sh: failed: $1" >&2
        return 1
    fi
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
}
declare -A round_command=([open]="$open_cmd" [cat_log]="$cat_log_cmd" [field_per_line]="$fpl_cmd"
    [add]="$add_cmd" [cat_a_b]="$cat_a_b_cmd" [add_window]="$window_cmd" [filter]="$filter_cmd"
    [cat_log_again]="$cat_log_again_cmd")
# Rounds of CASE and AGAINST, each timed run a line "CASE ROUND NAME MICROSECONDS".
paired_runs() {
    local us
    for ((round = 1 - warmup; round <= runs; ++round)); do
        for name in "$1" "$2"; do
            us=$(run_us "${round_command[$name]}") || return 1
            if ((round > 0)); then echo "$1 $round $name $us" >>"$work/rounds.txt"; fi
        done
    done
}
: >"$work/rounds.txt"
paired_runs open cat_log || exit 1
paired_runs field_per_line open || exit 1
paired_runs add cat_a_b || exit 1
paired_runs add_window add || exit 1
paired_runs filter cat_log_again || exit 1
# The median over the rounds of case / against.
paired_ratio() {
    awk -v case="$1" -v against="$2" '
        $1 == case && $3 == case { x[$2] = $4 }
        $1 == case && $3 == against { y[$2] = $4 }
        END { for (r in x) if ((r in y) && y[r] > 0) print x[r] / y[r] }' "$work/rounds.txt" |
        sort -g | awk '{ v[NR] = $1 } END { print NR == 0 ? "nan" : NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
paired_row() {
    awk -v name="$1" -v label="$3" -v x="$(paired_ratio "$1" "$2")" -v target="$4" \
        'BEGIN { printf "%-15s %-17s %8.2f %7sx  %s\n", name, label, x, target, (x <= target ? "within" : "over") }'
}
echo
echo "=== paired runs ($runs rounds a case of it and then its yardstick, each run after sync): median of the rounds' ratios"
printf "%-15s %-17s %8s %8s  %s\n" "case" "against" "x_paired" "target" "verdict"
paired_row open cat_log "cat LOG > OUT" 5
paired_row field_per_line open "open (one line)" 1.5
paired_row add cat_a_b "cat A B > OUT" 6
paired_row add_window add "add (exact rule)" 1.2
paired_row filter cat_log_again "cat LOG > OUT" 6

# Max resident set size in KiB, the largest of three runs; fails (status 1)
# when a run fails or is killed, or GNU time gives no figure.
peak_kib() {
    local peak=0 kib
    for _ in 1 2 3; do
        if ! eval "/usr/bin/time -v $1" >/dev/null 2>"$work/time.txt"; then
            echo "measure.sh: failed under /usr/bin/time: $1" >&2
            grep -v $'^\t' "$work/time.txt" >&2 || true  # its own messages, and time's verdict
            return 1
        fi
        kib=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
        if [[ ! $kib =~ ^[0-9]+$ ]]; then
            echo "measure.sh: no maximum resident set size from /usr/bin/time for: $1" >&2
            return 1
        fi
        if ((kib > peak)); then peak=$kib; fi
    done
    echo "$peak"
}
memory_row() {
    local name=$1 command=$2 bytes=$3 what=$4 kib
    kib=$(peak_kib "$command") || exit 1
    awk -v name="$name" -v kib="$kib" -v bytes="$bytes" -v what="$what" 'BEGIN {
        bound = (2 * bytes + 10 * 1048576) / 1024
        printf "%-8s %9.1f MiB, bound 2 x %s (%.1f MiB) + 10 MiB = %.1f MiB: %s (%.0f%% of the bound)\n",
            name, kib / 1024, what, bytes / 1048576, bound / 1024, (kib <= bound ? "within" : "over"), 100 * kib / bound }'
}

echo
echo "=== peak memory (/usr/bin/time -v, largest of 3 runs)"
memory_row open "$open_cmd" "$(stat -c %s "$log")" "LOG"
memory_row add "$add_cmd" $(($(stat -c %s "$a") + $(stat -c %s "$b"))) "(A + B)"
memory_row window "$window_cmd" $(($(stat -c %s "$a") + $(stat -c %s "$b"))) "(A + B)"
memory_row filter "$filter_cmd" "$(stat -c %s "$log")" "LOG"
