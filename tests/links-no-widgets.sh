#!/usr/bin/env bash
# Fails when one of the given programs loads QtWidgets: the logic's tests link only the logic libraries,
# so this proves that the logic itself links no widgets.
status=0
for program in "$@"; do
    if ldd "$program" | grep -q 'libQt6Widgets'; then
        echo "$program loads QtWidgets"
        status=1
    fi
done
exit $status
