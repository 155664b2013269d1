#!/bin/sh
# Captures what g++ and clang++ print for the sources here, with the options
# lumox-zx adds (and -Wall, which turns on the reorder and delete warnings),
# as the expected compiler outputs of the lumox-zx tests. The example of the
# project is captured as shapes.*.txt.
set -u
cd "$(dirname "$0")"
flags="-Wall -Weffc++ -Wno-error=effc++ -Wno-error=non-virtual-dtor -fsyntax-only -fdiagnostics-color=never"
cp ../../../../examples/effc++/shapes.cc shapes.cc
for cc in g++ clang++; do
    for src in shapes operators reorder holder mixed fatal; do
        LC_ALL=C $cc $flags $src.cc 2>$src.$cc.txt
    done
done
rm -f shapes.cc
