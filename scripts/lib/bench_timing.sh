# Timing and verdicts for scripts/bench: commands measured in the same run,
# interleaved, as medians; each target's verdict counted. Sourced by
# scripts/bench, which sets `results` (a folder for the raw results) and
# `rounds`.
# shellcheck shell=bash disable=SC2154

pass=0 fail=0
# verdict NAME OK: prints the outcome of one target.
verdict() {
  if [ "$2" = 1 ]; then pass=$((pass + 1)); echo "   target met: $1"; else
    fail=$((fail + 1)); echo "   TARGET MISSED: $1"; fi
}
ratio() { jq -n "$1 / $2 * 100 | round / 100"; }

# The median of every run of every round of each command, from NAME.*.json.
# usage: medians NAME
medians() {
  jq -s '[.[].results[]] | group_by(.command) | map({command: .[0].command,
         median: ([.[].times[]] | sort | .[(length / 2 | floor)])})' "$results/$1".*.json \
    >"$results/$1.json"
}

# Interleaved whole-command timing: `rounds` rounds of hyperfine over all the
# commands; prints each command's median over every run of every round (s).
# usage: interleaved NAME CMD...
interleaved() {
  local name=$1
  shift
  for round in $(seq "$rounds"); do
    hyperfine -N --warmup 1 --runs 3 --export-json "$results/$name.$round.json" "$@" >/dev/null 2>&1 ||
      hyperfine --warmup 1 --runs 3 --export-json "$results/$name.$round.json" "$@" >/dev/null
  done
  medians "$name"
}
median_of() { jq -r --arg c "$2" '.[] | select(.command == $c) | .median' "$results/$1.json"; }

# Like interleaved, for runs that change their files: PREPARE (not timed)
# puts the files back before each run; RUNS runs of each command per round
# (three rounds unless TAGLOOM_BENCH_PREPARED_ROUNDS says: some write gigabytes).
# usage: interleaved_prepared NAME RUNS PREPARE CMD...
interleaved_prepared() {
  local name=$1 runs=$2 prepare=$3
  shift 3
  for round in $(seq "${TAGLOOM_BENCH_PREPARED_ROUNDS:-3}"); do
    hyperfine --runs "$runs" --prepare "$prepare" --export-json "$results/$name.$round.json" "$@" \
      >/dev/null 2>"$results/$name.$round.err" || { cat "$results/$name.$round.err" >&2; return 1; }
  done
  medians "$name"
}
