#!/bin/sh
# Prints a table of every benchmark that reports the counter `ratio`: its
# ratio, its `target` and whether the ratio is within it, from the JSON files
# that the benchmark programs write with --benchmark_out=FILE
# --benchmark_out_format=json. With repetitions the ratio is the run's median
# row; without, the median of its rows. Needs only sh and awk (mawk will do).
#
#   bench/summary.sh build/bench/results/*.json
if [ "$#" -eq 0 ]; then
  echo "usage: $0 RESULT.json..." >&2
  exit 2
fi

awk '
function text(line) {  # the value of a "key": "value" line
  sub(/^[^:]*: *"/, "", line)
  sub(/",? *$/, "", line)
  return line
}
function number(line) {  # the value of a "key": number line
  sub(/^[^:]*: */, "", line)
  sub(/,? *$/, "", line)
  return line + 0
}
function program(file) {
  sub(/^.*\//, "", file)
  sub(/\.json$/, "", file)
  return file
}
# The run name without the options that the program sets on every run.
function routine(name) {
  gsub(/\/(iterations|repeats|threads|min_time|min_warmup_time):[^\/]*/, "", name)
  gsub(/\/(manual_time|real_time)/, "", name)
  return name
}
function finish() {
  if (runType == "aggregate" && aggregate != "median") hasRatio = 0
  if (inBenchmarks && hasRatio && runName != "") {
    key = program(FILENAME) SUBSEP runName
    if (!(key in seen)) {
      seen[key] = 1
      order[++count] = key
      label[key] = program(FILENAME) "  " routine(runName)
    }
    if (hasTarget) target[key] = targetValue
    if (runType == "aggregate") {
      if (aggregate == "median") median[key] = ratio
    } else {
      rows[key] = rows[key] " " ratio
    }
  }
  runName = ""; runType = ""; aggregate = ""; hasRatio = 0; hasTarget = 0
}
# The median of the space-separated numbers in s.
function middle(s,    n, v, i, j, t) {
  n = split(s, v, " ")
  for (i = 2; i <= n; ++i)
    for (j = i; j > 1 && v[j - 1] + 0 > v[j] + 0; --j) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
  if (n % 2) return v[(n + 1) / 2]
  return (v[n / 2] + v[n / 2 + 1]) / 2
}
FNR == 1 { inBenchmarks = 0 }
/^ *"benchmarks": *\[/ { inBenchmarks = 1; next }
/^ *"run_name": /       { runName = text($0) }
/^ *"name": /           { if (runName == "") runName = text($0) }
/^ *"run_type": /       { runType = text($0) }
/^ *"aggregate_name": / { aggregate = text($0) }
/^ *"ratio": /          { ratio = number($0); hasRatio = 1 }
/^ *"target": /         { targetValue = number($0); hasTarget = 1 }
/^ *},? *$/             { finish() }
END {
  if (count == 0) { print "No benchmark reports a ratio."; exit 0 }
  width = 7
  for (i = 1; i <= count; ++i) if (length(label[order[i]]) > width) width = length(label[order[i]])
  printf "\n%-" width "s  %7s  %7s  %s\n", "Routine", "ratio", "target", "met"
  for (i = 1; i <= count; ++i) {
    key = order[i]
    value = (key in median) ? median[key] : middle(rows[key])
    if (key in target) {
      met = value <= target[key] ? "yes" : "NO"
      printf "%-" width "s  %7.2f  %7.2f  %s\n", label[key], value, target[key], met
    } else {
      printf "%-" width "s  %7.2f  %7s  %s\n", label[key], value, "-", "-"
    }
  }
}
' "$@"
