#!/usr/bin/env bash
# The batch command against zint's batch mode and a qrencode loop, in one run on the same
# cards: tirrel-cli batch turns COUNT (default 5000) generated business cards into PNG files;
# zint --batch --mirror encodes the same payloads in byte form; qrencode runs once a card on a
# sample of SAMPLE (default 200). Prints cards a second for each and tirrel's ratio to zint.
# Usage: bench/batch_bench.sh [TIRREL_CLI] [COUNT] [SAMPLE]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-$here/../build-bench/cli/tirrel-cli}
count=${2:-5000}
sample=${3:-200}
# In memory where the system offers it: the figures are the tools', not the disk's.
work=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work"' EXIT

now() { date +%s.%N; }
rate() { awk -v n="$1" -v a="$2" -v b="$3" 'BEGIN { printf "%.0f", n / (b - a) }'; }

"$here/make_cards.sh" "$count" >"$work/cards.csv"
# The payload of each row as the business card page of 中国联通 builds it (header 0x11 0x10;
# the generated fields need no escaping), in GBK, as zint's escaped input: one a line.
tail -n +2 "$work/cards.csv" |
    awk -F, '{ printf "CARD:N:%s;TIL:%s;DIV:%s;COR:%s;ADR:%s;ZIP:%s;TEL:%s;M:%s;EM:%s;;\n",
               $1, $2, $3, $4, $5, $6, $7, $8, $9 }' |
    iconv -f UTF-8 -t GBK | LC_ALL=C sed 's/\\/\\\\/g; s/^/\\x11\\x10/' >"$work/payloads.txt"

start=$(now)
"$cli" batch "$work/cards.csv" --dialect 102 --tab 0 -o "$work/tirrel" 2>"$work/tirrel.log"
tirrel=$(rate "$count" "$start" "$(now)")

mkdir "$work/zint"
start=$(now)
(cd "$work/zint" && zint --batch --mirror --filetype=png -b QRCODE --binary --esc \
    -i "$work/payloads.txt" >/dev/null)
sync -f "$work/zint"
zint=$(rate "$count" "$start" "$(now)")

mkdir "$work/qrencode"
head -n "$sample" "$work/payloads.txt" >"$work/sample.txt"
start=$(now)
n=0
while IFS= read -r line; do
    n=$((n + 1))
    printf '%b' "$line" | qrencode -8 -o "$work/qrencode/$n.png"
done <"$work/sample.txt"
qrencode=$(rate "$sample" "$start" "$(now)")

echo "tirrel-cli batch: $tirrel cards/s ($(ls "$work/tirrel" | wc -l) files)"
echo "zint --batch:     $zint cards/s ($(ls "$work/zint" | wc -l) files)"
echo "qrencode loop:    $qrencode cards/s (a sample of $sample)"
awk -v a="$tirrel" -v b="$zint" 'BEGIN { printf "tirrel / zint:    %.1f\n", a / b }'
