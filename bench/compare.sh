#!/usr/bin/env bash
# Compares what a frame costs in the working tree ("now") with another commit ("REF"): builds
# both in Release in scratch folders and runs them alternately, REF then now, pair after pair:
#   - frame_bench at 64x48 (the CPU cost of issuing a frame) and at 1920x1080 (the fill);
#   - the program itself, full screen 1280x800 on Xvfb, with the frame-rate regulator's sleep
#     taken out from outside (a preloaded meter, bench/run_meter.cpp), for a fixed time;
#   - the GL calls of one frame at 24 wedges, counted with apitrace;
#   - the program at its regulated 30 frames a second in a small window: the cost of leaving it
#     running (one run each).
# For each it prints the median over the runs of ms per frame, CPU ms per frame and peak resident
# memory, and now / REF as the median of the pairwise ratios with their range (min-max).
# Both sides run the working tree's frame_bench.cpp, so the same instrument measures both.
#
# Usage: bench/compare.sh [--pairs N] [--seconds S] [--idle-seconds S] [--quick] [REF]
#   REF            default: the last release tag, else main's previous commit (main~1)
#   --pairs N      alternating pairs of every run (default 5)
#   --seconds S    counted seconds of each uncapped program run (default 10)
#   --idle-seconds S  seconds of the regulated run (default 60; 0 leaves it out)
#   --quick        --pairs 2 --seconds 5 --idle-seconds 15
#   COMPARE_DIR=DIR keeps the scratch builds there, to be reused by the next run.
set -euo pipefail

pairs=5
seconds=10
idle_seconds=60
ref=""
while [ $# -gt 0 ]; do
    case $1 in
    --pairs) pairs=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --idle-seconds) idle_seconds=$2; shift 2 ;;
    --quick) pairs=2; seconds=5; idle_seconds=15; shift ;;
    -h | --help) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    -*) echo "$0: unknown option $1" >&2; exit 2 ;;
    *) ref=$1; shift ;;
    esac
done

here=$(dirname "$(realpath "$0")")
. "$here/../tools/setup.sh"
install_packages $BUILD_PACKAGES $BENCH_PACKAGES
. "$PROJECT_DIR/tools/x11_session.sh"
cd "$PROJECT_DIR"

if [ -z "$ref" ]; then
    ref=$(git describe --tags --abbrev=0 2>/dev/null || true)
    [ -n "$ref" ] || ref=main~1
fi
ref_commit=$(git rev-parse --verify --quiet "$ref^{commit}") || {
    echo "$0: no commit $ref" >&2
    exit 2
}

# Seconds the meter lets the program run before it counts (start-up, shader compiles, the first
# morphs); the meter is told through its environment.
meter_warmup=3

scratch=${COMPARE_DIR:-$(mktemp -d)}
mkdir -p "$scratch"
pid=""
# Stops whatever a run left going; removes the scratch folder unless it was asked for.
cleanup() {
    stop_program_and_xvfb "$pid"
    [ -n "${COMPARE_DIR:-}" ] || rm -rf "$scratch"
}
trap cleanup EXIT

# Configures and builds the program and frame_bench from source folder $1 into $2, quietly.
build_release() {
    echo "building $3 in Release" >&2
    cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=Release -DBRINDLEWICK_TESTS=OFF >"$2.log" 2>&1 &&
        cmake --build "$2" -j "$(nproc)" --target brindlewick frame_bench >>"$2.log" 2>&1 || {
        echo "$0: building $3 failed; see $2.log" >&2
        exit 1
    }
}

# REF's sources, unpacked again only when REF or the benchmark changed, so a kept folder rebuilds
# nothing.
if ! cmp -s bench/frame_bench.cpp "$scratch/ref-src/bench/frame_bench.cpp" ||
    [ "$(cat "$scratch/ref-src.commit" 2>/dev/null)" != "$ref_commit" ]; then
    rm -rf "$scratch/ref-src"
    mkdir -p "$scratch/ref-src"
    git archive "$ref_commit" | tar -x -C "$scratch/ref-src"
    cp bench/frame_bench.cpp "$scratch/ref-src/bench/frame_bench.cpp"
    echo "$ref_commit" >"$scratch/ref-src.commit"
fi
build_release "$scratch/ref-src" "$scratch/ref" "$ref (${ref_commit:0:7})"
build_release "$PROJECT_DIR" "$scratch/now" "the working tree"
g++ -O2 -shared -fPIC -o "$scratch/run_meter.so" bench/run_meter.cpp -ldl

# GL calls in one frame of side $1's frame_bench at 24 wedges, counted by apitrace: the calls
# after the glFinish that ends the warm-up frame, up to the one that ends the first timed frame.
gl_calls() {
    local trace=$scratch/$1.trace
    rm -f "$trace"
    SDL_VIDEODRIVER=offscreen apitrace trace -o "$trace" \
        "$scratch/$1/bench/frame_bench" 64 48 24 2 >/dev/null 2>&1
    apitrace dump --color=never "$trace" 2>/dev/null | awk '
        /^[0-9]+ glFinish/ { if (++finishes == 2) exit; next }
        /^[0-9]+ / && finishes == 1 { calls++ }
        END { print calls + 0 }'
    rm -f "$trace"
}

results=$scratch/results
: >"$results"
# Appends "SIDE MEASURE VALUE" lines to the results.
record() {
    echo "$1 $2 $3" >>"$results"
}

# The figure named $2 in frame_bench's output $1 ("figure NAME VALUE"); fails the comparison
# when it is missing or not a number, rather than record an empty value.
bench_figure() {
    local value
    value=$(awk -v name="$2" '$1 == "figure" && $2 == name { print $3 }' <<<"$1")
    [[ $value =~ ^[0-9]+(\.[0-9]+)?$ ]] || {
        echo "$0: frame_bench gave no figure $2; it printed:" >&2
        echo "$1" >&2
        exit 1
    }
    echo "$value"
}

# One frame_bench run of side $1 at size $2x$3 with $4 frames, recorded under the name $5.
bench_run() {
    local out measure figure value
    out=$(SDL_VIDEODRIVER=offscreen "$scratch/$1/bench/frame_bench" "$2" "$3" 24 "$4")
    for measure in ms:frame_ms cpu:cpu_ms mem:peak_mib issue:issue_ms clear:clear_ms \
        backdrop:backdrop_ms; do
        figure=${measure#*:}
        value=$(bench_figure "$out" "$figure")
        record "$1" "$5.${measure%%:*}" "$value"
    done
}

# Runs side $1's program on a fresh Xvfb of size $2, answering the start question with key $3,
# for $4 counted seconds after the meter's warm-up, with the meter's extra settings $6...;
# records its figures under the name $5.
program_run() {
    local side=$1 size=$2 key=$3 run_seconds=$4 name=$5 report=$scratch/meter.txt
    shift 5
    rm -f "$report"
    start_xvfb "$size"
    env "$@" LD_PRELOAD="$scratch/run_meter.so" BRINDLEWICK_METER_REPORT="$report" \
        BRINDLEWICK_METER_WARMUP=$meter_warmup "$scratch/$side/brindlewick" >/dev/null 2>&1 &
    pid=$!
    local question window
    question=$(wait_for_window "Start FullScreen?") || { echo "$0: no start question" >&2; exit 1; }
    # The key's release may find its window gone (an error from xdotool): what the key did is
    # checked next, by the window it opens and by the program ending.
    press_closing "$question" "$key" || true
    window=$(wait_for_window "Brindlewick") || { echo "$0: no program window" >&2; exit 1; }
    sleep $((run_seconds + meter_warmup))
    press_closing "$window" Escape || true
    wait_until process_gone "$pid" || { echo "$0: the program did not quit" >&2; exit 1; }
    wait "$pid" || true
    pid=""
    stop_xvfb
    # frames N seconds S cpu_seconds C peak_kb K
    read -r _ frames _ wall _ cpu _ peak <"$report"
    [ "$frames" -gt 0 ] || { echo "$0: the program presented no frame" >&2; exit 1; }
    record "$side" "$name.ms" "$(awk -v f="$frames" -v w="$wall" 'BEGIN { print w * 1000 / f }')"
    record "$side" "$name.cpu" "$(awk -v f="$frames" -v c="$cpu" 'BEGIN { print c * 1000 / f }')"
    record "$side" "$name.mem" "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')"
    record "$side" "$name.fps" "$(awk -v f="$frames" -v w="$wall" 'BEGIN { print f / w }')"
    record "$side" "$name.core" "$(awk -v w="$wall" -v c="$cpu" 'BEGIN { print c * 100 / w }')"
}

for side in ref now; do
    calls=$(gl_calls "$side")
    [ "$calls" -gt 0 ] || { echo "$0: apitrace counted no GL call of side $side" >&2; exit 1; }
    record "$side" calls "$calls"
done
for pair in $(seq "$pairs"); do
    echo "pair $pair of $pairs" >&2
    for side in ref now; do
        bench_run "$side" 64 48 300 small
        bench_run "$side" 1920 1080 30 large
        program_run "$side" 1280x800 Return "$seconds" uncapped BRINDLEWICK_METER_UNCAPPED=1
    done
done
if [ "$idle_seconds" -gt 0 ]; then
    echo "regulated runs, $idle_seconds s each" >&2
    for side in ref now; do
        program_run "$side" 640x480 Escape "$idle_seconds" idle
    done
fi

# The table: per measure, both sides' medians, and the median and range of the pairwise ratios.
echo
echo "now: the working tree; REF: $ref (${ref_commit:0:7}); $pairs pair(s), run alternately;" \
    "uncapped runs ${seconds} s, regulated runs ${idle_seconds} s"
echo
awk -v pairs="$pairs" '
    function median(list, n,    i, j, t) {
        for (i = 2; i <= n; i++)
            for (j = i; j > 1 && list[j - 1] > list[j]; j--) {
                t = list[j]; list[j] = list[j - 1]; list[j - 1] = t
            }
        return n % 2 ? list[(n + 1) / 2] : (list[n / 2] + list[n / 2 + 1]) / 2
    }
    { n[$1, $2]++; value[$1, $2, n[$1, $2]] = $3 }
    END {
        split("calls small.ms small.cpu small.issue small.mem large.ms large.cpu large.mem " \
              "large.clear large.backdrop " \
              "uncapped.ms uncapped.cpu uncapped.mem uncapped.fps " \
              "idle.fps idle.core idle.cpu idle.mem", order, " ")
        label["calls"] = "GL calls in one frame, 24 wedges (apitrace)"
        label["small.ms"] = "frame_bench 64x48, 24 wedges: median ms per frame"
        label["small.cpu"] = "frame_bench 64x48: CPU ms per frame"
        label["small.issue"] = "frame_bench 64x48: issuing 24 x 100 discs, median ms"
        label["small.mem"] = "frame_bench 64x48: peak resident MiB"
        label["large.ms"] = "frame_bench 1920x1080, 24 wedges: median ms per frame"
        label["large.cpu"] = "frame_bench 1920x1080: CPU ms per frame"
        label["large.mem"] = "frame_bench 1920x1080: peak resident MiB"
        label["large.clear"] = "frame_bench 1920x1080: a clear alone, median ms"
        label["large.backdrop"] = "frame_bench 1920x1080: the backdrop alone, median ms"
        label["uncapped.ms"] = "program 1280x800 uncapped: ms per frame"
        label["uncapped.cpu"] = "program 1280x800 uncapped: CPU ms per frame"
        label["uncapped.mem"] = "program 1280x800 uncapped: peak resident MiB"
        label["uncapped.fps"] = "program 1280x800 uncapped: frames per second"
        label["idle.fps"] = "program windowed on a 640x480 screen, regulated: frames per second"
        label["idle.core"] = "program windowed on a 640x480 screen, regulated: CPU % of one core"
        label["idle.cpu"] = "program windowed on a 640x480 screen, regulated: CPU ms per frame"
        label["idle.mem"] = "program windowed on a 640x480 screen, regulated: peak resident MiB"
        print "| measure | REF | now | now / REF | range of pairs |"
        print "|---|---|---|---|---|"
        for (m = 1; m in order; m++) {
            key = order[m]
            runs = n["ref", key] < n["now", key] ? n["ref", key] : n["now", key]
            if (runs == 0) continue
            for (i = 1; i <= runs; i++) {
                a[i] = value["ref", key, i]; b[i] = value["now", key, i]
                r[i] = a[i] > 0 ? b[i] / a[i] : 0
                lo = i == 1 || r[i] < lo ? r[i] : lo
                hi = i == 1 || r[i] > hi ? r[i] : hi
            }
            ma = median(a, runs); mb = median(b, runs); mr = median(r, runs)
            format = ma >= 1000 ? "%.0f" : "%.2f"
            printf "| %s | " format " | " format " | %.2fx | %.2f-%.2f |\n", label[key], ma, mb,
                mr, lo, hi
        }
    }' "$results"
