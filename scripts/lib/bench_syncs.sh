# The syncs of a list run, for scripts/bench: the last release whose list
# runs synced each photograph on its own, built once; the sync calls of a run
# counted, and their order checked, from an strace log. Sourced by
# scripts/bench, which sets `root`, `build`, `lock` and `results`.
# shellcheck shell=bash disable=SC2154

previous_release=12aca6a

# Builds the previous release's tagloom-cli once, in a folder of its own under
# the bench's build (later runs reuse it), and sets previous_cli to it.
build_previous_release() {
  local prev="$build/release-$previous_release"
  previous_cli="$prev/build/src/cli/tagloom-cli"
  [ -x "$previous_cli" ] && return 0
  echo "Building tagloom-cli of $previous_release in $prev ..."
  rm -rf "$prev" && mkdir -p "$prev/src"
  git -C "$root" archive "$previous_release" | tar -x -C "$prev/src"
  flock "$lock" cmake -S "$prev/src" -B "$prev/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DTAGLOOM_WINDOW=OFF >/dev/null
  flock "$lock" cmake --build "$prev/build" --target tagloom-cli >/dev/null
}

# Runs CMD... under strace and checks its log (bench/sync_order.py): the
# sync calls it made, and whether each file it put in place was synced
# before and its folder after. Leaves the JSON in $results/NAME.json.
# usage: traced_syncs NAME CMD...
traced_syncs() {
  local name=$1
  shift
  # Every sync family call but sync_file_range (it only starts write-back),
  # every call that writes a file or puts one in place; -y names each fd's file.
  local calls=fsync,fdatasync,syncfs,sync,msync,rename,renameat,renameat2,link,linkat
  calls+=,open,openat,creat,write,pwrite64,writev,pwritev,pwritev2,ftruncate,fallocate
  calls+=,sendfile,copy_file_range
  strace -f -qq -y -s 4096 --seccomp-bpf -e trace="$calls" -o "$results/$name.log" "$@" \
    >"$results/$name.out" 2>&1 || { cat "$results/$name.out" >&2; return 1; }
  python3 "$root/bench/sync_order.py" "$results/$name.log" "$PWD" >"$results/$name.json"
}
