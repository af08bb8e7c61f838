#!/bin/sh
# Renders every examples/*.tsk with its stored type and with each of the types; every
# run must succeed silently and write a 12,344-byte BMP.
#   render_examples.sh TESK_CLI EXAMPLES_DIR
set -u
cli=$1
examples=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
status=0
runs=0
for project in "$examples"/*.tsk; do
    for type in stored 0 1 51 52 53 54 100 152 154 200 254 300 354; do
        out="$tmp/$(basename "$project" .tsk)-$type.bmp"
        if [ "$type" = stored ]; then
            "$cli" render "$project" "$out" 2>"$tmp/stderr"
        else
            "$cli" render "$project" "$out" --type "$type" 2>"$tmp/stderr"
        fi
        code=$?
        runs=$((runs + 1))
        if [ "$code" -ne 0 ] || [ -s "$tmp/stderr" ]; then
            echo "$(basename "$project") type $type: exit $code"
            cat "$tmp/stderr"
            status=1
            continue
        fi
        if [ "$(wc -c <"$out")" -ne 12344 ] || [ "$(head -c 2 "$out")" != BM ]; then
            echo "$(basename "$project") type $type: not a 64 x 64 BMP"
            status=1
        fi
    done
done
if [ "$runs" -lt 40 ]; then
    echo "only $runs renders: examples missing?"
    status=1
fi
exit $status
