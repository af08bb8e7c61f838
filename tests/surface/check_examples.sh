#!/bin/sh
# The committed examples/*.tsk are exactly what tesk_make_examples writes.
#   check_examples.sh GENERATOR EXAMPLES_DIR
set -eu
generator=$1
examples=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$generator" "$tmp"
status=0
for made in "$tmp"/*.tsk; do
    name=$(basename "$made")
    if ! cmp -s "$made" "$examples/$name"; then
        echo "examples/$name differs from what the generator writes"
        status=1
    fi
done
for kept in "$examples"/*.tsk; do
    name=$(basename "$kept")
    if [ ! -e "$tmp/$name" ]; then
        echo "examples/$name is not written by the generator"
        status=1
    fi
done
exit $status
