#!/usr/bin/env bash
# The benchmark in its smoke mode: every figure comes out of the real program under
# the stand-in light; the figures themselves are not judged here.
set -euo pipefail
top=${QUORLIN_TOP:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
bash "$top/tools/bench/run" --smoke --build "$top/build/release"
