#!/usr/bin/env bash
# Checks the Debian package without installing it: lintian finds no error, it holds the files the
# packaged install needs, its manual pages render without warnings, its desktop entry and AppStream
# metadata validate and its completion parses.
# Usage: check_package.sh wenoglad_VERSION_ARCH.deb
set -uo pipefail
deb=${1:?usage: check_package.sh PACKAGE.deb}
bad=0
fail() { echo "FAIL: $*"; bad=1; }

echo "== lintian"
lintian --fail-on error --info --display-level '>=warning' "$deb" || fail "lintian reports errors"

echo "== files"
listing=$(dpkg-deb -c "$deb") || exit 1
for path in ./opt/wenoglad/ ./opt/wenoglad/wenoglad ./opt/wenoglad/wenoglad-cli ./opt/wenoglad/pomoc.html \
  ./etc/xdg/Wenoglad/Wenoglad.conf ./usr/share/wenoglad/pakiet \
  ./usr/share/applications/wenoglad.desktop ./usr/share/mime/packages/wenoglad.xml \
  ./usr/share/icons/hicolor/scalable/apps/wenoglad.svg \
  ./usr/share/icons/hicolor/scalable/mimetypes/application-x-wenor-wydruk.svg \
  ./usr/share/thumbnailers/wenoglad.thumbnailer \
  ./usr/share/man/man1/wenoglad.1.gz ./usr/share/man/man1/wenoglad-cli.1.gz \
  ./usr/share/bash-completion/completions/wenoglad-cli \
  ./usr/share/metainfo/org.wenoglad.wenoglad.metainfo.xml; do
  grep -q " $path\$" <<<"$listing" || fail "the package lacks $path"
done
for link in wenoglad wenoglad-cli; do
  grep -q " ./usr/bin/$link -> /opt/wenoglad/$link\$\| ./usr/bin/$link -> ../../opt/wenoglad/$link\$" <<<"$listing" ||
    fail "/usr/bin/$link is not a link to /opt/wenoglad/$link"
done
grep -q '^/etc/xdg/Wenoglad/Wenoglad.conf$' <(dpkg-deb -I "$deb" conffiles) || fail "Wenoglad.conf is no conffile"
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6widgets6 libcups2 fonts-liberation2 qt6-qpa-plugins; do
  grep -q "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
grep -q 'dpkg-statoverride --update --add root users 2775 /opt/wenoglad' <(dpkg-deb -I "$deb" postinst) ||
  fail "postinst does not share /opt/wenoglad with group users"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
dpkg-deb -x "$deb" "$tmp"
grep -qx 'Katalog=/opt/wenoglad/' "$tmp/etc/xdg/Wenoglad/Wenoglad.conf" || fail "Wenoglad.conf does not name the folder"
grep -qx '/opt/wenoglad/' "$tmp/usr/share/wenoglad/pakiet" || fail "the package marker does not name its folder"
grep -qx 'Exec="/opt/wenoglad/wenoglad" %f' "$tmp/usr/share/applications/wenoglad.desktop" ||
  fail "the desktop entry does not start /opt/wenoglad/wenoglad"

echo "== manual pages"
for page in wenoglad wenoglad-cli; do
  file=$tmp/usr/share/man/man1/$page.1.gz
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$file" 2>&1 >"$tmp/$page.txt")
  [ -z "$warnings" ] || fail "man -l $page: $warnings"
  grep -q 'KODY WYJŚCIA' "$tmp/$page.txt" || fail "$page(1) does not render its exit codes"
  head -4 "$tmp/$page.txt"
done

echo "== desktop entry, AppStream metadata, completion"
desktop-file-validate "$tmp/usr/share/applications/wenoglad.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$tmp/usr/share/metainfo/org.wenoglad.wenoglad.metainfo.xml" ||
  fail "appstreamcli validate"
bash -n "$tmp/usr/share/bash-completion/completions/wenoglad-cli" || fail "the completion does not parse"

[ "$bad" -eq 0 ] && echo "package: $deb checked"
exit "$bad"
