#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what a desktop user gets: the programs
# and their data, the desktop entry, the file types, the icons, the AppStream metainfo, the
# man pages, where an installed designer keeps its files, and the Debian package's Depends.
# Usage: scripts/install-check.sh [BUILD_DIR]   (default: build; built with the designer)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
work="$(mktemp -d "${TMPDIR:-/tmp}/ry-install-check.XXXXXX")"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
app=com.cordaxa.ryvane
failures=0

fail() {
  echo "install-check: FAIL: $*" >&2
  failures=$((failures + 1))
}
pass() {
  echo "install-check: ok: $*"
}
# Runs a check command quietly; it fails when it exits non-zero or prints anything.
silent() {
  local what="$1" out
  shift
  if out="$("$@" 2>&1)" && [ -z "$out" ]; then
    pass "$what"
  else
    fail "$what"
    printf '%s\n' "$out" >&2
  fi
}

cmake --install "$build" --prefix "$prefix" >"$work/install.log"
share="$prefix/share"

# What the install holds.
expected=(
  bin/rykem bin/rys
  share/ryvane/help/index.html share/ryvane/help/installing.html
  share/ryvane/examples/office-line.rys share/ryvane/examples/office-line.tests.yaml
  "share/applications/$app.desktop" share/mime/packages/ryvane.xml
  "share/metainfo/$app.metainfo.xml"
  share/man/man1/rykem.1.gz share/man/man1/rys.1.gz
)
for icon in "apps/$app" mimetypes/application-x-ryvane-script \
  mimetypes/application-x-ryvane-protected-script; do
  expected+=("share/icons/hicolor/scalable/${icon%%/*}/${icon#*/}.svg")
  for size in 48 128; do
    expected+=("share/icons/hicolor/${size}x${size}/${icon%%/*}/${icon#*/}.png")
  done
done
missing=0
for f in "${expected[@]}"; do
  if [ ! -s "$prefix/$f" ]; then
    fail "not installed: $f"
    missing=1
  fi
done
[ "$missing" -eq 0 ] && pass "${#expected[@]} files installed"

# The PNG icons are the size their folder names (width and height in the PNG header).
for png in "$share"/icons/hicolor/*x*/*/*.png; do
  size="${png#"$share"/icons/hicolor/}"
  size="${size%%x*}"
  read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
    awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }')
  if [ "$width" != "$size" ] || [ "$height" != "$size" ]; then
    fail "icon $png is ${width}x${height}, not ${size}x${size}"
  fi
done

# The desktop entry: valid without a warning, opening both file types with rykem.
desktop="$share/applications/$app.desktop"
silent "desktop-file-validate $app.desktop" desktop-file-validate "$desktop"
grep -qx 'Exec=rykem %f' "$desktop" || fail "the desktop entry's Exec is not 'rykem %f'"
grep -qx 'MimeType=application/x-ryvane-script;application/x-ryvane-protected-script;' \
  "$desktop" || fail "the desktop entry's MimeType does not name both file types"

# The file types: well-formed, ".rys" known by its name and by "Version=" at offset 0, ".ryp"
# by its name, and a database that update-mime-database builds from the prefix.
mime_xml="$share/mime/packages/ryvane.xml"
silent "xmllint ryvane.xml" xmllint --noout "$mime_xml"
type_path='//*[local-name()="mime-type"][@type="application/x-ryvane-script"]'
magic="$(xmllint --xpath "string($type_path/*[local-name()=\"magic\"]/*[local-name()=\"match\"]/@value)" "$mime_xml")"
offset="$(xmllint --xpath "string($type_path/*[local-name()=\"magic\"]/*[local-name()=\"match\"]/@offset)" "$mime_xml")"
[ "$magic" = "Version=" ] && [ "$offset" = 0 ] ||
  fail "the .rys magic is '$magic' at offset '$offset', not 'Version=' at 0"
XDG_DATA_DIRS="$share:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}" \
  silent "update-mime-database" update-mime-database "$share/mime"
for pair in "application/x-ryvane-script:*.rys" "application/x-ryvane-protected-script:*.ryp"; do
  grep -Fq ":$pair" "$share/mime/globs2" || fail "the MIME database has no glob ${pair#*:}"
  [ -f "$share/mime/${pair%%:*}.xml" ] || fail "the MIME database has no type ${pair%%:*}"
done
grep -q "Version=" "$share/mime/magic" || fail "the MIME database has no magic 'Version='"

# The AppStream metainfo: valid, and its newest release is the programs' version.
metainfo="$share/metainfo/$app.metainfo.xml"
if appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1; then
  pass "appstreamcli validate --no-net $app.metainfo.xml"
else
  fail "appstreamcli validate"
  cat "$work/appstream.log" >&2
fi
release="$(xmllint --xpath 'string(//releases/release[1]/@version)' "$metainfo")"
# Every screenshot it names is shipped, a PNG of the size it states.
shots="$(xmllint --xpath 'count(//screenshots/screenshot/image)' "$metainfo")"
[ "$shots" -ge 1 ] || fail "the metainfo names no screenshot"
for i in $(seq 1 "$shots"); do
  image="(//screenshots/screenshot/image)[$i]"
  url="$(xmllint --xpath "string($image)" "$metainfo")"
  stated="$(xmllint --xpath "string($image/@width)" "$metainfo")x$(xmllint --xpath "string($image/@height)" "$metainfo")"
  shot="$share/ryvane/screenshots/${url##*/}"
  if [ ! -f "$shot" ]; then
    fail "the screenshot ${url##*/} is not installed"
    continue
  fi
  # A PNG's width and height are the big-endian words at bytes 16 and 20.
  read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$shot")
  actual="$(((w1 << 24) + (w2 << 16) + (w3 << 8) + w4))x$(((h1 << 24) + (h2 << 16) + (h3 << 8) + h4))"
  [ "$(head -c 8 "$shot" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
    fail "the screenshot ${url##*/} is no PNG"
  [ "$actual" = "$stated" ] || fail "the screenshot ${url##*/} is $actual, not $stated"
done
pass "the metainfo's $shots screenshots are installed"

# The installed programs run, without a display and without RYVANE_HOME.
export QT_QPA_PLATFORM=offscreen
unset RYVANE_HOME
unset XDG_DATA_HOME XDG_CONFIG_HOME
export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
example="$share/ryvane/examples/office-line.rys"
if version="$("$prefix/bin/rys" --version)" && [ "$version" = "rys $release" ]; then
  pass "rys --version: $version"
else
  fail "rys --version printed '${version:-}', the metainfo's release is $release"
fi
if "$prefix/bin/rys" dump "$example" >"$work/dump.json" && grep -q '"Modules": \[' "$work/dump.json"; then
  pass "rys dump of the installed example"
else
  fail "rys dump of the installed example"
fi
if "$prefix/bin/rys" test "$share/ryvane/examples/office-line.tests.yaml" >"$work/test.txt"; then
  pass "rys test of the installed example's calls: $(tail -n 1 "$work/test.txt")"
else
  fail "rys test of the installed example's calls"
fi
if version="$("$prefix/bin/rykem" --version)" && [ "$version" = "rykem $release" ]; then
  pass "rykem --version: $version"
else
  fail "rykem --version printed '${version:-}', the metainfo's release is $release"
fi
if "$prefix/bin/rykem" --help >"$work/help.txt"; then
  pass "rykem --help"
else
  fail "rykem --help"
fi

# Where the installed designer keeps its files, as --help reports them: the user's data folder
# and share/ryvane, or $RYVANE_HOME for both.
folders() {
  "$prefix/bin/rykem" --help | sed -n 's/^\(Program folder\|Read-only data\): *//p' | paste -sd'|'
}
expect_folders() {
  local what="$1" expected="$2" got
  got="$(folders)"
  if [ "$got" = "$expected" ]; then
    pass "$what: $got"
  else
    fail "$what: '$got', not '$expected'"
  fi
}
expect_folders "installed designer's folders" "$HOME/.local/share/Cordaxa/Ryvane|$share/ryvane"
RYVANE_HOME="$work/line" expect_folders "folders under RYVANE_HOME" "$work/line|$work/line"

# A picture of the installed example, once the designer can export one.
if grep -q -- "--export-picture" "$work/help.txt"; then
  if "$prefix/bin/rykem" --export-picture "$example" "$work/office-line.svg" &&
    xmllint --noout "$work/office-line.svg"; then
    pass "rykem --export-picture of the installed example"
  else
    fail "rykem --export-picture of the installed example"
  fi
fi

# The man pages render without a warning.
if command -v man >/dev/null; then
  for page in rykem rys; do
    silent "man page $page(1)" sh -c 'MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$1" >/dev/null' \
      sh "$share/man/man1/$page.1.gz"
  done
fi

# The Debian package: built by cpack, its Depends worked out by dpkg-shlibdeps.
if (cd "$work" && cpack -G DEB -B "$work/deb" --config "$build/CPackConfig.cmake" \
  >"$work/cpack.log" 2>&1); then
  deb="$(ls "$work"/deb/ryvane_*.deb)"
  depends="$(dpkg-deb -f "$deb" Depends)"
  if [[ "$depends" == *libqt6widgets6* && "$depends" == *libc6* ]]; then
    pass "$(basename "$deb"): Depends: $depends"
  else
    fail "the package's Depends do not come from the libraries: '$depends'"
  fi
  dpkg-deb -c "$deb" >"$work/deb-contents.txt"
  for f in usr/bin/rykem usr/bin/rys "usr/share/applications/$app.desktop" usr/share/ryvane/help/index.html; do
    grep -q " \./$f\$" "$work/deb-contents.txt" || fail "the package holds no /$f"
  done
else
  fail "cpack -G DEB"
  tail -n 20 "$work/cpack.log" >&2
fi

if [ "$failures" -gt 0 ]; then
  echo "install-check: $failures failed" >&2
  exit 1
fi
echo "install-check: all passed"
