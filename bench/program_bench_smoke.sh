#!/usr/bin/env bash
# Smoke run of the whole-program benchmark on a tiny fleet: the generator is repeatable, and
# every figure of program_bench comes out.
#   program_bench_smoke.sh FLEET_DATA PROGRAM_BENCH WRENFOLD
set -euo pipefail
fleet_data=$1 program_bench=$2 wrenfold=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

small=(--vehicles=12 --services=600 --first-vehicle-services=120 --invoices=6 --expenses=50
       --photo-bytes=3000 --invoice-bytes=4000 --seed=7)
"$fleet_data" "$work/a/Data" "${small[@]}" >/dev/null
"$fleet_data" "$work/b/Data" "${small[@]}" >/dev/null
diff -r "$work/a/Data" "$work/b/Data"
"$fleet_data" "$work/c/Data" "${small[@]/--seed=7/--seed=8}" >/dev/null
if cmp -s "$work/a/Data/Service.cds" "$work/c/Data/Service.cds"; then
  echo "another seed gave the same services"; exit 1
fi

# The row-heavy shape, measured for start-up and memory beside the first folder.
"$fleet_data" "$work/r/Data" --row-heavy --vehicles=12 --services=600 >/dev/null
[[ $(stat -c %s "$work/r/Data/ServiceInvoice.cds") -lt 1000 ]]

out=$("$program_bench" --runs=1 --settle=0 "$wrenfold" "$work/a/Data" "$work/r/Data")
echo "$out"
for line in "start to first paint, empty" "start to first paint, fleet" "read the fleet files" \
            "resident at first paint, fleet" "Exit click to process end" "the five table closes" \
            "write-alone, in one write" "write-alone, 256 KB writes" "write-alone, 1 MB writes" \
            "write-alone, 8 MB writes" "write-alone inside a program" "first write to fresh memory" \
            "click to first page" "click to last page"; do
  grep -q "$line" <<<"$out" || { echo "missing: $line"; exit 1; }
done
for line in "start to first paint, fleet" "resident at first paint, fleet"; do
  [[ $(grep -c "$line" <<<"$out") -eq 2 ]] || { echo "not measured on both folders: $line"; exit 1; }
done
# The report of vehicle 1 holds its 120 services: more than one page.
grep -Eq "report: services of vehicle 1, ([2-9]|[1-9][0-9]+) pages" <<<"$out"
