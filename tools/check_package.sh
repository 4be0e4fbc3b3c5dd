#!/usr/bin/env bash
# Builds the Debian package, installs it with apt-get as a user would, checks that the installed
# programs run and that every file is where the desktop looks for it, then removes the package.
# Run as root (or with sudo available) from any clone: tools/check_package.sh
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo

"$here/tools/odrivo.sh" package
deb=$(ls "$here"/build-package/odrivo_*.deb)
id=org.odrivo.Odrivo

failed=0
fail() { echo "check_package: $*" >&2; failed=1; }

DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$deb"
trap 'DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -qq odrivo >/dev/null' EXIT

version=$(dpkg-query -W -f='${Version}' odrivo)
out=$(/usr/bin/odrivo-cli --version) || fail "odrivo-cli --version failed"
[ "$out" = "odrivo-cli $version" ] || fail "odrivo-cli --version printed '$out', not 'odrivo-cli $version'"
out=$(QT_QPA_PLATFORM=offscreen /usr/bin/odrivo --version) || fail "odrivo --version failed"
[ "$out" = "Odrivo $version" ] || fail "odrivo --version printed '$out', not 'Odrivo $version'"

for f in /usr/share/applications/$id.desktop /usr/share/metainfo/$id.metainfo.xml \
         /usr/share/mime/packages/$id.xml /usr/share/icons/hicolor/scalable/apps/$id.svg \
         /usr/share/icons/hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/$id.png \
         /usr/share/man/man1/odrivo.1.gz /usr/share/man/man1/odrivo-cli.1.gz \
         /usr/share/odrivo/help/index.html /usr/share/doc/odrivo/copyright; do
    [ -s "$f" ] || fail "$f is missing after the install"
done
# The package's triggers register the file type and the program that opens it.
if [ -x /usr/bin/update-mime-database ]; then
    grep -q 'application/x-odrivo-log' /usr/share/mime/globs2 || fail "the .odv file type is not registered"
fi
if [ -x /usr/bin/update-desktop-database ]; then
    grep -q "application/x-odrivo-log=.*$id.desktop" /usr/share/applications/mimeinfo.cache ||
        fail "Odrivo is not registered to open .odv files"
fi
if [ -x /usr/bin/desktop-file-validate ]; then
    out=$(desktop-file-validate /usr/share/applications/$id.desktop 2>&1) && [ -z "$out" ] ||
        fail "the installed desktop entry does not validate: $out"
fi
if [ -x /usr/bin/appstreamcli ]; then
    appstreamcli validate --no-net --strict /usr/share/metainfo/$id.metainfo.xml >/dev/null ||
        fail "the installed AppStream metadata does not validate"
fi

[ "$failed" -eq 0 ] && echo "check_package: $(basename "$deb") installs and runs; every file is in place."
exit "$failed"
