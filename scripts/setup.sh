#!/usr/bin/env bash
# Installs every Debian package that building, testing and running qelPro needs.
# Idempotent: packages already present are left alone.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-qpa-plugins libgl-dev
    qt6-multimedia-dev libqt6multimedia6
    libgtest-dev googletest
    fonts-ipafont fonts-ipafont-gothic fonts-ipafont-mincho
    shared-mime-info desktop-file-utils poppler-utils
    # Speech: Open JTalk reads Japanese (kanji included), espeak-ng every other language.
    open-jtalk open-jtalk-mecab-naist-jdic espeak-ng libespeak-ng-dev
)
# The Japanese voice for Open JTalk lives in Debian's contrib component.
contrib_packages=(hts-voice-nitech-jp-atr503-m001)

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

is_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

missing=()
for p in "${packages[@]}" "${contrib_packages[@]}"; do
    is_installed "$p" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

# Enables contrib in a sources file of our own when no source lists it yet; the files of the
# system are left as they are.
own_sources=/etc/apt/sources.list.d/qelpro-contrib.sources
contrib_enabled() {
    grep -rqsE '^[^#]*(Components:.*\bcontrib\b|^deb .*\bcontrib\b)' \
        /etc/apt/sources.list /etc/apt/sources.list.d/
}
if ! contrib_enabled; then
    . /etc/os-release
    codename="${VERSION_CODENAME:-bookworm}"
    uri=$( (grep -rhsoE 'https?://[^ ]*/debian/?( |$)' /etc/apt/sources.list.d/ \
          /etc/apt/sources.list || true) | head -n 1 | tr -d ' ')
    uri="${uri:-http://deb.debian.org/debian}"
    echo "setup.sh: enabling Debian's contrib component for the Japanese voice" \
         "($own_sources, $uri $codename)"
    $SUDO tee "$own_sources" >/dev/null <<SOURCES
# Written by qelPro's scripts/setup.sh: the Open JTalk voice hts-voice-nitech-jp-atr503-m001
# is in contrib.
Types: deb
URIs: $uri
Suites: $codename ${codename}-updates
Components: contrib
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
fi

$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
