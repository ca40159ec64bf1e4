#!/bin/sh
# Installs the build into a temporary DESTDIR under /usr and checks the result with the
# desktop's own validators. Exits 77 (skipped) when one of them is not installed.
# Usage: check-install.sh CMAKE BUILD_DIR
set -eu
cmake=$1
build=$2
id=io.github.aimwell.Aimwell

for tool in desktop-file-validate appstreamcli update-mime-database; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "skipped: $tool is not installed (apt-get install desktop-file-utils appstream)"
        exit 77
    fi
done

dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT INT TERM
fail() {
    echo "FAIL: $*"
    exit 1
}

DESTDIR="$dest/root" "$cmake" --install "$build" --prefix /usr >/dev/null
usr="$dest/root/usr"

for file in bin/aimwell share/aimwell/imgs/greencircle.gif share/aimwell/imgs/bluecircle.gif \
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/mime/packages/aimwell.xml share/icons/hicolor/scalable/apps/$id.svg \
    share/man/man1/aimwell.1.gz share/doc/aimwell/copyright share/doc/aimwell/changelog.gz; do
    [ -f "$usr/$file" ] || fail "$file is not installed"
done
[ -x "$usr/bin/aimwell" ] || fail "the program is not executable"
odd=$(find "$dest/root" -type d ! -perm 0755)
[ -z "$odd" ] || fail "folders not 0755: $odd"

# Each PNG is as large as the folder it sits in says (width and height from its header).
for size in 48 128 256; do
    png="$usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ -f "$png" ] || fail "no ${size}px icon"
    dims=$(od -An -tu4 --endian=big -j16 -N8 "$png" | tr -s ' ')
    [ "$dims" = " $size $size" ] || fail "$png is not ${size}x${size} ($dims)"
done

out=$(desktop-file-validate "$usr/share/applications/$id.desktop" 2>&1) ||
    fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
desktop="$usr/share/applications/$id.desktop"
grep -qx 'Exec=aimwell %f' "$desktop" || fail "Exec is not 'aimwell %f'"
grep -qx "Icon=$id" "$desktop" || fail "Icon is not $id"
grep -qx 'MimeType=application/x-aimwell-project;' "$desktop" || fail "MimeType is missing"

appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" ||
    fail "appstreamcli validate"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
    "$usr/share/metainfo/$id.metainfo.xml" || fail "metainfo launches another desktop id"

# The desktop's MIME database, built from a copy: *.gpj is ours and is text.
cp -R "$usr/share/mime" "$dest/mime"
out=$(update-mime-database "$dest/mime" 2>&1) || fail "update-mime-database: $out"
grep -qx 'application/x-aimwell-project:\*.gpj' "$dest/mime/globs" || fail "*.gpj is not ours"
grep -qx 'application/x-aimwell-project text/plain' "$dest/mime/subclasses" ||
    fail "a project is not a kind of text/plain"

# The daily reminder: a user timer and its service where systemd looks under the prefix.
units="$usr/lib/systemd/user"
for unit in aimwell-remind.service aimwell-remind.timer; do
    [ -f "$units/$unit" ] || fail "$unit is not installed"
done
grep -qx 'ExecStart=/usr/bin/aimwell --remind' "$units/aimwell-remind.service" ||
    fail "the service does not run the installed program"
grep -qx 'OnCalendar=\*-\*-\* 09:00' "$units/aimwell-remind.timer" || fail "the timer is not daily at 9"
grep -qx 'Persistent=true' "$units/aimwell-remind.timer" || fail "the timer misses days asleep"
# systemd reads them without a complaint (it checks that the program is there, so the copy
# it reads names the program under DESTDIR).
if command -v systemd-analyze >/dev/null 2>&1; then
    mkdir "$dest/units"
    sed "s|^ExecStart=/usr/|ExecStart=$usr/|" "$units/aimwell-remind.service" \
        >"$dest/units/aimwell-remind.service"
    cp "$units/aimwell-remind.timer" "$dest/units/"
    out=$(systemd-analyze verify --man=no "$dest/units/aimwell-remind.timer" \
        "$dest/units/aimwell-remind.service" 2>&1) || fail "systemd-analyze verify: $out"
    [ -z "$out" ] || fail "systemd-analyze verify: $out"
else
    echo "systemd-analyze is not installed: the unit files were not verified"
fi

gzip -t "$usr/share/man/man1/aimwell.1.gz" || fail "manual page is not gzip"
gzip -dc "$usr/share/man/man1/aimwell.1.gz" | grep -q '^\.TH AIMWELL 1' || fail "not a man page"

# The installed program runs from the installed tree.
version=$("$usr/bin/aimwell" --version) || fail "aimwell --version"
[ "$version" = "Aimwell Pro 1.4" ] || fail "aimwell --version printed '$version'"
echo "install checks passed"
