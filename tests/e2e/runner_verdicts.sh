#!/bin/bash
# The e2e runner takes each script's own exit status: a script that fails, one whose
# program did not start (127), one that hangs past its time limit and one that
# skips are counted so, and the run's last line turns red. (No Wine needed.)
set -u
cd "$(dirname "$0")/../.."
. scripts/wine-lib.sh
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf 'exit 0\n' >"$dir/a_passes.sh"
printf 'echo "  found nothing"; exit 1\n' >"$dir/b_fails.sh"
printf 'exit 127\n' >"$dir/c_not_started.sh"
printf 'sleep 30\n' >"$dir/d_hangs.sh"
printf '. scripts/wine-lib.sh\nskip_part "one half"\nskip "the other half"\n' >"$dir/e_skips.sh"

out=$(E2E_TIMEOUT=1 run_e2e "$dir"/*.sh && finish_report)
rc=$?
want='PASS a_passes
  found nothing
FAIL b_fails (exit code 1)
FAIL c_not_started (exit code 127)
  no end after 1 s, killed
FAIL d_hangs (exit code 124)
  skipped: one half
  skipped: the other half
SKIP e_skips
wine: 1 passed, 3 failed, 2 skipped'
if [ $rc = 0 ] || [ "$out" != "$want" ]; then
  printf '  the runner said (exit code %s):\n%s\n' $rc "$out"
  exit 1
fi
echo "  a failing, a not started and a hanging script turn the run red; skips are counted"
