#!/usr/bin/env bash
# The real-window tests' window-manager start, against stand-ins for the window manager that are
# slow, fail once, or always fail: a slow or once-failing start still runs the test, and one that
# never comes up ends with the window manager's own output. Runs under xvfb-run, with openbox.
set -euo pipefail

wrapper="$(cd "$(dirname "$0")" && pwd)/with_window_manager.bash"
real_openbox=$(command -v openbox)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/bin"

# The test the wrapper runs: it records that it ran and sees a live window manager.
cat >"$dir/inner.sh" <<'INNER'
check=$(xprop -root _NET_SUPPORTING_WM_CHECK | sed -n 's/.*window id # //p')
xprop -id "$check" _NET_WM_NAME >"$1"
INNER

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Usage: runWith <behaviour> ; sets status, out (the wrapper's stderr) and ran (the inner
# test's record, empty when it did not run).
runWith() {
  rm -f "$dir/tries" "$dir/ran"
  cat >"$dir/bin/openbox" <<FAKE
#!/usr/bin/env bash
echo x >>"$dir/tries"
tries=\$(wc -l <"$dir/tries")
$1
exec "$real_openbox" "\$@"
FAKE
  chmod +x "$dir/bin/openbox"
  status=0
  PATH="$dir/bin:$PATH" bash "$wrapper" "$dir/inner.sh" "$dir/ran" 2>"$dir/err" || status=$?
  out=$(cat "$dir/err")
  ran=$(cat "$dir/ran" 2>/dev/null || true)
}

# Up for longer than the ten seconds a start used to be given.
runWith 'sleep 12'
[ "$status" -eq 0 ] && [ -n "$ran" ] || fail "a window manager up after 12 s: status $status, $out"

# The first start fails at once; the second works.
runWith '[ "$tries" -gt 1 ] || { echo "first start refused"; exit 1; }'
[ "$status" -eq 0 ] && [ -n "$ran" ] || fail "a start that fails once: status $status, $out"

# Every start fails: no test runs, and both tries' output is shown. A killed window manager from
# the case before has left the root's announcement behind; it must not count as a start.
runWith 'echo "stand-in refusal number $tries" >&2; exit 3'
[ "$status" -ne 0 ] || fail "a window manager that never starts was taken as started"
[ -z "$ran" ] || fail "the test ran without a window manager"
grep -q "stand-in refusal number 1" <<<"$out" && grep -q "stand-in refusal number 2" <<<"$out" ||
  fail "the window manager's own output is missing from the failure: $out"
[ "$(wc -l <"$dir/tries")" -eq 2 ] || fail "expected two starts, got $(wc -l <"$dir/tries")"

echo "a slow start waits, a failed start is tried again, a lasting failure shows the output"
