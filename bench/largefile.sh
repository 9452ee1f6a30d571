#!/usr/bin/env bash
# Piece-table reading against plain pread loops over the same 1 GiB file, in the same run: prints
# each rate and its ratios to the vectorised loop's and to the sample-by-sample loop's (above 1 is
# faster).
set -euo pipefail
csv=$("$BUILD/bench/LargeFileBench" --benchmark_format=csv 2>/dev/null | grep '^"')
# CSV: "name/…",iterations,real_time,cpu_time,time_unit,bytes_per_second,…
echo "$csv" | awk -F, '
    { name = $1; gsub(/"/, "", name); sub(/\/min_time.*/, "", name); rate[NR] = $6; names[NR] = name }
    names[NR] == "PlainPreadLoop" { anchor = $6 }
    names[NR] == "PreadLoopBySample" { bySample = $6 }
    END {
        printf "%-22s %10s %10s %18s\n", "benchmark", "GB/s", "/ pread", "/ pread by sample"
        for (i = 1; i <= NR; ++i)
            printf "%-22s %10.2f %10.2f %18.2f\n", names[i], rate[i] / 1e9, rate[i] / anchor,
                   rate[i] / bySample
    }'
