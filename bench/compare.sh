#!/usr/bin/env bash
# Builds the benchmarks (Release) and prints one markdown table: each of the
# library's operations beside its reference, measured in the same process,
# with the ratio and the goal. Every pair runs in a process of its own, as
# medians of REPS repetitions. With gnuplot, the growth curves of the list
# results go to PNG files beside the raw figures.
#
#   bash bench/compare.sh [build-dir]      (default: build-compare)
#   REPS=5 ROUNDS=5 SKIP_BUILD=1 bash bench/compare.sh build-rel
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-compare}
reps=${REPS:-5}
rounds=${ROUNDS:-5}
out=$build/compare
mkdir -p "$out"

if [[ -z ${SKIP_BUILD:-} ]]; then
    launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTARNEL_BENCH=ON -DTARNEL_DOCS=OFF \
        -DTARNEL_EXAMPLES=OFF "${launcher[@]}" >"$out/configure.log"
    cmake --build "$build" -j"$(nproc)" --target requests_bench session_bench tde_bench cpp_bench pipeline_bench \
        link_bench_static link_bench_shared >"$out/build.log"
fi
pgrep -x rpcbind >/dev/null || rpcbind -w 2>/dev/null || true

# run NAME PROGRAM FILTER: one process, medians of the repetitions, as
# "benchmark real_us cpu_us" lines in $out/NAME.txt (counters in NAME.csv).
run() {
    local name=$1 program=$2 filter=$3
    local try
    for try in 1 2; do
        "$build/bench/$program" --benchmark_filter="$filter" --benchmark_repetitions="$reps" \
            --benchmark_report_aggregates_only=true --benchmark_format=csv 2>"$out/$name.err" >"$out/$name.csv" && break
        echo "compare: $program ($filter) failed, try $try" >&2
    done
    awk -F, '
        function us(v, unit) { return unit == "ns" ? v / 1000 : unit == "ms" ? v * 1000 : unit == "s" ? v * 1e6 : v }
        $1 ~ /_median"?$/ {
            name = $1; gsub(/"/, "", name); sub(/_median$/, "", name); sub(/\/(real|manual)_time$/, "", name)
            sub(/\/iterations:[0-9]+/, "", name)
            printf "%s %.4f %.4f\n", name, us($3, $5), us($4, $5)
        }' "$out/$name.csv" >"$out/$name.txt"
}

# value NAME BENCHMARK COLUMN(2 real, 3 cpu): a median in microseconds.
value() { awk -v b="$2" -v c="$3" '$1 == b { print $c }' "$out/$1.txt"; }

# median NAME BENCHMARK COLUMN: the median of the value over the rounds
# NAME_1..NAME_$rounds.
median() {
    local r
    for r in $(seq "$rounds"); do value "$1_$r" "$2" "$3"; done | sort -g |
        awk '{ v[NR] = $1 } END { if (NR) print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# A counter of the single run of a benchmark, from its CSV header.
counter() {
    awk -F, -v b="$2" -v k="$3" 'NR == 1 { gsub(/"/, ""); for (i = 1; i <= NF; i++) if ($i == k) col = i }
        index($1, b) && index($1, "median") && col { print $col; exit }' "$out/$1.csv"
}

fmt() { awk -v v="$1" 'BEGIN { if (v == "") print "n/a"; else if (v >= 1000) printf "%.2f ms", v / 1000; else if (v >= 1) printf "%.1f us", v; else printf "%.1f ns", v * 1000 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "" || b == "" || b == 0) print "n/a"; else printf "%.2f", a / b }'; }
row() { printf '| %s | %s | %s | %s | %s |\n' "$1" "$(fmt "$2")" "$3 $(fmt "$4")" "$(ratio "$2" "$4")" "$5"; }

run getint requests_bench '^BM_GetInt(Library|Raw|TraceFunction)/'
run callpoint requests_bench '^BM_CallPoint'
# The same round trip traced to a file, as a client run with TARNEL_TRACE.
TARNEL_TRACE=$out/trace.jsonl TARNEL_TRACE_FORMAT=json run tracefile requests_bench '^BM_GetInt(Library|Raw)/'
rm -f "$out/trace.jsonl"
for kind in Props Strings Text; do run "get$kind" requests_bench "^BM_Get$kind(Library|Raw)/[0-9]+/"; done
run peak requests_bench '^BM_PeakMemory/'
run cppform cpp_bench '^BM_(GetInt|GetProps)/'
# Pipelined requests against the same requests one by one (counters: both
# sides are timed in the same iterations).
for case in GetInt GetIntDropped SetIntRun GetString; do run "pipe$case" pipeline_bench "^BM_Pipelined$case/"; done
run pipePeak pipeline_bench '^BM_PipelinePeakMemory'
# The shared objects against the archives: two programs of one source, by
# turns, so that both sides meet the same state of the machine.
for r in $(seq "$rounds"); do
    for kind in static shared; do run "link_${kind}_$r" "link_bench_$kind" '^BM_GetInt'; done
done
run callback session_bench 'BM_CallbackRoundTrip|BM_TwoRequestRoundTrips'
for op in Mul Div FractMul; do run "metric$op" tde_bench "^BM_(Metric|Plain64)$op\$"; done
run stricmp tde_bench '^BM_(T_StrICmp|strcasecmp)/'
run sprint tde_bench 'mixed'

{
    echo "| What | This library | Reference, same run | Ratio | Goal |"
    echo "|---|---|---|---|---|"
    row '`T_ApiGetInt` round trip' "$(value getint BM_GetIntLibrary 2)" 'raw `clnt_call` of 1064,' \
        "$(value getint BM_GetIntRaw 2)" 'at the floor'
    row 'the trace point, untraced (CPU, instant handle)' "$(value callpoint BM_CallPointUntraced 3)" \
        '`clnt_call` itself' "$(value callpoint BM_CallPointRaw 3)" 'a few ns of a round trip'
    row '`T_ApiGetInt`, traced to a trace function' "$(value getint BM_GetIntTraceFunction 2)" 'untraced,' \
        "$(value getint BM_GetIntLibrary 2)" 'overhead reported'
    row '`T_ApiGetInt`, traced to a file (JSON)' "$(value tracefile BM_GetIntLibrary 2)" 'raw `clnt_call` of 1064,' \
        "$(value tracefile BM_GetIntRaw 2)" 'overhead reported'
    for kind in Props Strings Text; do
        for n in 100 1000 10000 100000; do
            goal=linear
            [[ $n == 10000 ]] && goal='<= 1.05'
            row "\`T_ApiGet$kind\`, $n entries (with release)" "$(value "get$kind" "BM_Get${kind}Library/$n" 2)" \
                'raw `clnt_call`, decode and free,' "$(value "get$kind" "BM_Get${kind}Raw/$n" 2)" "$goal"
        done
    done
    # Both sides of each C++ pair are timed in the same iterations (counters).
    row '`T_ApiGetInt` round trip, linked with the shared objects' "$(median link_shared BM_GetIntRoundTrip 2)" \
        'with the archives,' "$(median link_static BM_GetIntRoundTrip 2)" '<= 1.02'
    row '`T_ApiGetInt` on an instant handle, shared objects (CPU)' "$(median link_shared BM_GetIntCall 3)" \
        'with the archives,' "$(median link_static BM_GetIntCall 3)" 'a few ns of a round trip'
    row '`tarnel::GetInt`, the C++ form' "$(counter cppform BM_GetInt cpp_us)" '`T_ApiGetInt`,' \
        "$(counter cppform BM_GetInt c_us)" '<= 1.02'
    row '`tarnel::GetProps`, 10^4 entries (with release)' "$(counter cppform BM_GetProps cpp_us)" \
        '`T_ApiGetProps` and release,' "$(counter cppform BM_GetProps c_us)" '<= 1.02'
    for kind in props strings text; do
        peak=$(counter peak BM_PeakMemory "${kind}_peak_kB")
        reply=$(counter peak BM_PeakMemory "${kind}_reply_kB")
        printf '| peak memory growth, `%s` of 10^5 | %.0f kB | encoded reply %.0f kB | %s | about 1 decoded copy |\n' \
            "$kind" "${peak:-0}" "${reply:-0}" "$(ratio "$peak" "$reply")"
    done
    row '1,000 `T_ApiGetInt` pipelined (`tarnel::Pipeline`, every result read)' \
        "$(counter pipeGetInt BM_PipelinedGetInt/1000/ pipelined_us)" '1,000 synchronous,' \
        "$(counter pipeGetInt BM_PipelinedGetInt/1000/ sequential_us)" '<= 0.25'
    dropped3=$(counter pipeGetIntDropped BM_PipelinedGetIntDropped/1000/ pipelined_us)
    dropped5=$(counter pipeGetIntDropped BM_PipelinedGetIntDropped/100000/ pipelined_us)
    row '100,000 `T_ApiGetInt` pipelined (handles dropped)' "$dropped5" '100,000 synchronous,' \
        "$(counter pipeGetIntDropped BM_PipelinedGetIntDropped/100000/ sequential_us)" '<= 0.25, as 1,000'
    row '100,000 `T_ApiGetInt` pipelined, against 1,000' "$dropped5" '100 times 1,000 pipelined,' \
        "$(awk -v v="$dropped3" 'BEGIN { if (v != "") print 100 * v }')" 'about 1 (linear)'
    row '1,000 `T_ApiSetInt` in a C run (`T_ApiPipelineBegin`/`End`)' \
        "$(counter pipeSetIntRun BM_PipelinedSetIntRun/1000/ pipelined_us)" '1,000 synchronous,' \
        "$(counter pipeSetIntRun BM_PipelinedSetIntRun/1000/ sequential_us)" '<= 0.25'
    row '1,000 `T_ApiGetString` pipelined (`tarnel::Pipeline`)' \
        "$(counter pipeGetString BM_PipelinedGetString/1000/ pipelined_us)" '1,000 synchronous, with release,' \
        "$(counter pipeGetString BM_PipelinedGetString/1000/ sequential_us)" '<= 0.25'
    grown3=$(counter pipePeak BM_PipelinePeakMemory dropped_1000_kB)
    grown5=$(counter pipePeak BM_PipelinePeakMemory dropped_100000_kB)
    kept5=$(counter pipePeak BM_PipelinePeakMemory kept_100000_kB)
    printf '| peak memory growth, 10^5 pipelined `T_ApiGetInt` (handles dropped) | %.0f kB | 10^3: %.0f kB; every 10^5 handle kept %.0f kB | %s | bounded (as 10^3) |\n' \
        "${grown5:-0}" "${grown3:-0}" "${kept5:-0}" "$(ratio "$grown5" "$kept5")"
    row 'callback round trip (host calls, over arrives)' "$(value callback BM_CallbackRoundTrip 2)" \
        'two request round trips' "$(value callback BM_TwoRequestRoundTrips 2)" '<= 1.2'
    for op in Mul Div FractMul; do
        row "\`T_Metric$op\` (4096 operations, CPU)" "$(value "metric$op" "BM_Metric$op" 3)" 'the 64-bit expression' \
            "$(value "metric$op" "BM_Plain64$op" 3)" '<= 1.5'
    done
    for n in 16 256; do
        goal='<= 2'
        [[ $n == 256 ]] && goal='<= 4'
        row "\`T_StrICmp\` $n bytes (CPU)" "$(value stricmp "BM_T_StrICmp/$n" 3)" '`strcasecmp`' \
            "$(value stricmp "BM_strcasecmp/$n" 3)" "$goal"
    done
    row '`TdeVSnprintf`, mixed format (CPU)' "$(value sprint TdeVSnprintf/mixed 3)" '`vsnprintf`' \
        "$(value sprint vsnprintf/mixed 3)" '<= 3'
    echo
    echo "Medians of $reps repetitions (shared against archives: the median of $rounds such runs by turns); $(nproc) processors ($(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)); load average at the end $(cut -d' ' -f1-3 /proc/loadavg)."
} | tee "$out/table.md"

# Growth curves: entries against microseconds, library and raw call.
if command -v gnuplot >/dev/null; then
    for kind in Props Strings Text; do
        for n in 100 1000 10000 100000; do
            echo "$n $(value "get$kind" "BM_Get${kind}Library/$n" 2) $(value "get$kind" "BM_Get${kind}Raw/$n" 2)"
        done >"$out/growth_$kind.dat"
        gnuplot <<EOF
set terminal png size 640,480 noenhanced
set output "$out/growth_$kind.png"
set title "T_ApiGet$kind: time against entries"
set logscale xy
set xlabel "entries"
set ylabel "microseconds per call"
set key left top
plot "$out/growth_$kind.dat" using 1:2 with linespoints title "library", \
     "$out/growth_$kind.dat" using 1:3 with linespoints title "raw clnt_call"
EOF
    done
    echo "plots: $out/growth_*.png"
fi
