#!/bin/bash
# The window's pictures: both languages, skinned and plain, at the scales users set.
# Every control's text must fit; the pictures stay in build/release/pictures.
# Drawn on Qt's offscreen platform, not X11 or Wayland: no display is needed, and the
# desktop's scale is stood in for by QT_SCALE_FACTOR.
set -euo pipefail
top=${QUORLIN_TOP:?}
build=${QUORLIN_BUILD:-$top/build/release}  # another build folder for a local run
cd "$top"
status=0
for scale in 1 1.5 2; do
    out=$(QT_SCALE_FACTOR=$scale "$build/screenshot" --check "$build/pictures" resources/red.she 2>&1) || status=1
    printf '%s\n' "$out" | grep -v 'controls measured$' || true
    # Every window shows its 18 controls with text (the panel included).
    [ "$(printf '%s\n' "$out" | grep -c ': 18 controls measured$')" = 4 ] ||
        { echo "FAIL: not every control was measured at scale $scale" >&2; status=1; }
done
exit $status
