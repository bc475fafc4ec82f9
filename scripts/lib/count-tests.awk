# Sums GoogleTest case counts over `ctest -V` logs and prints "passed failed". ctest prefixes
# each line of a test's output with "N: ". Every ctest entry that did not end "Passed" counts
# at least one failure, whatever it printed: a crash after its summary, a timeout, a sanitizer
# report, an executable that never ran. An entry that started and has no result line at all
# (the run was killed) counts as failed too. An entry that is no GoogleTest program (a fuzz
# target's smoke run) is one case. An entry ctest marks skipped (it said "SKIP: " and checked
# nothing) is neither: a third number counts those, printed only when there are any.
function key_of(n) { return FILENAME ":" n }

/^[0-9]+: Test command: / {
  k = key_of($1 + 0); started[k] = 1
}
# Several probes may run inside one entry: add their summaries up.
/^[0-9]+: \[==========\] [0-9]+ tests? from .* ran/ {
  k = key_of($1 + 0); total[k] += $3; started[k] = 1
}
/^[0-9]+: \[  FAILED  \] [0-9]+ tests?, listed below/ {
  k = key_of($1 + 0); bad[k] += $5
}
/Test +#[0-9]+: / {
  match($0, /#[0-9]+/)
  k = key_of(substr($0, RSTART + 1, RLENGTH - 1) + 0)
  started[k] = 1
  result[k] = ($0 ~ /\*\*\*/ || $0 !~ / Passed +[0-9.]+ sec/) ? "failed" : "passed"
  if ($0 ~ /\*\*\*Skipped /) result[k] = "skipped"
}
END {
  for (k in started) {
    # A skip that reported failed cases is no skip.
    if (result[k] == "skipped" && bad[k] == 0) { s += 1; continue }
    if (result[k] == "skipped") result[k] = "failed"
    if (!(k in total)) { if (result[k] == "passed") p += 1; else f += 1; continue }
    p += total[k] - bad[k]; f += bad[k]
    if (result[k] != "passed" && bad[k] == 0) f += 1
  }
  if (s) printf "%d %d %d\n", p, f, s; else printf "%d %d\n", p, f
}
