#!/usr/bin/env bash
# Writes a test icon file of five images: 16x16, 32x32 and 48x48 true-colour images with alpha,
# a PNG-compressed 256x256 one and a 32x32 16-colour one.
# Usage: make-test-icon.sh OUT.ico
set -euo pipefail
out=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for size in 16 32 48 256; do
    convert -seed 7 -size ${size}x${size} plasma:fractal -alpha set -channel A -fx "0.5+0.5*i/w" "PNG32:$tmp/i$size.png"
done
convert -size 32x32 "gradient:green-yellow" -colors 16 "PNG8:$tmp/i32x16.png"
icotool -c -o "$out" "$tmp/i16.png" "$tmp/i32.png" "$tmp/i48.png" -r "$tmp/i256.png" "$tmp/i32x16.png"
