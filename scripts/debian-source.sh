#!/usr/bin/env bash
# Fetches and unpacks a Debian source package, through a deb-src entry of our own whose
# address is the one this machine's APT already uses for Debian: the system's sources stay
# as they are, and no mirror is named here.
#   scripts/debian-source.sh PACKAGE VERSION FOLDER    the source tree lands in FOLDER/source
set -euo pipefail
package=$1
version=$2
work=$3

codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
# "500 URI SUITE/main ARCH Packages", then its "release …o=Debian,…n=SUITE,…c=main" line.
uri=$(apt-cache policy | awk -v suite="$codename/main" -v name="n=$codename," '
    $1 ~ /^[0-9]+$/ && NF >= 3 { uri = $2; at = $3; next }
    $1 == "release" && at == suite && index($0, "o=Debian,") && index($0, name) { print uri; exit }')
if [ -z "$uri" ]; then
    echo "debian-source: no Debian $codename main archive in this machine's APT sources" >&2
    exit 1
fi

apt_dir=$work/apt
mkdir -p "$apt_dir/lists/partial"
cat > "$apt_dir/debian-src.sources" <<SOURCES
Types: deb-src
URIs: $uri
Suites: $codename
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
apt_options=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$apt_dir"
             -o "Dir::State::Lists=$apt_dir/lists" -o "APT::Sandbox::User=$(id -un)")
apt-get "${apt_options[@]}" update -qq
(cd "$work" && apt-get "${apt_options[@]}" source --download-only -qq "$package=$version")
rm -rf "$work/source"
(cd "$work" && dpkg-source -x --skip-patches "${package}"_*.dsc source >/dev/null)
