# Sums GoogleTest case counts over `ctest -V` logs. ctest prefixes each line of a test's
# output with "N: "; an executable that failed without reporting failed cases (a crash, a
# timeout, a sanitizer report) counts as one failure.
/^[0-9]+: \[==========\] [0-9]+ tests? from .* ran/ {
  key = FILENAME ":" $1
  n = $3; total[key] = n
}
/^[0-9]+: \[  FAILED  \] [0-9]+ tests?, listed below/ {
  key = FILENAME ":" $1
  bad[key] = $4
}
/Test +#[0-9]+: .*(\*\*\*|Failed|Exception|Timeout|Not Run)/ {
  match($0, /#[0-9]+/)
  key = FILENAME ":" substr($0, RSTART + 1, RLENGTH - 1) ":"
  dead[key] = 1
}
END {
  for (k in total) { p += total[k] - bad[k]; f += bad[k] }
  for (k in dead) if (!(k in bad) || bad[k] == 0) f += 1
  printf "%d %d\n", p, f
}
