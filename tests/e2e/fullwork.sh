#!/usr/bin/env bash
# "Find changes" of X: with the work folder on T:, a tmpfs left too small for its scan (a folder named like
# the program's probe file keeps the work files off C:\): one error box, no viewer, the snapshot of X:
# as it was. A refused mount says SKIP and exits 77, the only way out ctest counts as skipped.
# Arguments: Quillon.exe, the probe.
source "$(dirname "$0")/prefix.sh"
small="$work/drive-t"
mkdir -p "$small"
# Only a refusal is a skip: any other mount error is a broken test.
if ! refusal=$(mount -t tmpfs -o size=64m quillon-small "$small" 2>&1); then
    grep -qiE 'permission denied|not permitted|must be superuser' <<<"$refusal" || { echo "mount: $refusal" >&2; exit 1; }
    echo "SKIP: a tmpfs cannot be mounted here ($refusal); the full work drive is not tested"
    exit 77
fi
trap 'wineserver -k >/dev/null 2>&1 || true; wineserver -w >/dev/null 2>&1 || true
      umount "$small" || umount -l "$small"; rm -rf "$work"' EXIT
drive x SMALL
mkdir "$work/drive-x/Apps"
ln -sfn "$small" "$WINEPREFIX/dosdevices/t:"
mkdir "$WINEPREFIX/drive_c/~quillon.probe"
for name in TEMP TMP; do "$WINELOADER" reg add 'HKCU\Environment' /v "$name" /d 'T:\' /f >/dev/null 2>&1; done
wineserver -w

probe 'Update*'
snapshot="$program/Xdbase.qdb"
cp "$snapshot" "$work/snapshot-before"
# Then T: fills up as disks do, leaving less room than the scan of the installation below needs.
head -c $((($(df --output=avail -k "$small" | tail -1) - ${QUILLON_SMALL_KB:-384}) * 1024)) /dev/zero >"$small/filler"

# The installation: 40,000 files in 200 folders, a scan far larger than T:.
for n in $(seq 200); do mkdir "$work/drive-x/Apps/NewApp$n"; done
(cd "$work/drive-x/Apps" && for n in $(seq 200); do (cd "NewApp$n" && seq -f "component%g.dll" 200 | xargs touch); done)
probe 'FindChanges*'
cmp "$snapshot" "$work/snapshot-before" || { echo "the snapshot of X: changed" >&2; exit 1; }
[[ -z $(find "$small" -name '*.qdb') ]] || { echo "the run left work files on T:" >&2; exit 1; }
