#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, once.
# Sourced by scripts/test, scripts/run, scripts/package and scripts/release; a
# second run only checks.
set -euo pipefail

TESSIVANE_PACKAGES=(
  g++ clang clang-format cmake ninja-build pkg-config
  googletest libgtest-dev libbenchmark-dev
  libjpeg62-turbo-dev libpng-dev zlib1g-dev
  # The X11 saver (src/x11): Xlib and the MIT-SHM extension.
  libx11-dev libxext-dev
  # The test of the X11 saver under the real XScreenSaver daemon, and groff
  # for the test that its manual page renders without a warning.
  xscreensaver groff-base
  libclang-rt-14-dev
  mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 libz-mingw-w64-dev
  nasm dpkg-dev python3
  # The Windows installer (scripts/package, the package_installer target).
  nsis
  # The release check (tests/release/check-release): the package's
  # lint, the zips.
  lintian unzip
  wine wine32:i386 wine64 xvfb xdotool x11-utils imagemagick
  fonts-ipafont-gothic locales fonts-wine
  # Two monitors for Wine (Xvfb gives only one): an X server with the dummy
  # video driver, arranged by xrandr (tests/windows/shell/monitors-test.sh).
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  # Sound for the music tests: a PulseAudio null sink (scripts/lib/wine-test);
  # 32-bit ALSA needs its plugins once pulseaudio is in, MP3 the GStreamer
  # plugins of both architectures.
  pulseaudio libasound2-plugins:i386
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386
)

# The locale the Wine tests run in: under it, and with the prefix's font
# substitutes (scripts/lib/wine-test), the dialogs' Japanese texts render.
TESSIVANE_WINE_LOCALE=ja_JP.UTF-8

missing_packages() {
  local p
  for p in "${TESSIVANE_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
  done
}

# Adds deb-src entries beside the machine's own deb entries, so that
# `apt-get source` works. The entries are copied, never written by hand.
ensure_deb_src() {
  local out=/etc/apt/sources.list.d/tessivane-src.sources
  [ -f "$out" ] && return 0
  local f any=0
  : >"$out.tmp"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    [ "$f" = "$out" ] && continue
    # Only Debian's own archive entries (keyring-signed by Debian).
    grep -q 'debian-archive-keyring' "$f" || continue
    sed -n '/^Types:/,$p' "$f" | sed 's/^Types:.*/Types: deb-src/' >>"$out.tmp"
    printf '\n' >>"$out.tmp"
    any=1
  done
  if [ "$any" = 0 ] && [ -f /etc/apt/sources.list ]; then
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >/etc/apt/sources.list.d/tessivane-src.list || true
    rm -f "$out.tmp"
    touch "$out"
    return 0
  fi
  mv "$out.tmp" "$out"
  APT_UPDATED=0
}

install_deps() {
  export DEBIAN_FRONTEND=noninteractive
  APT_UPDATED=${APT_UPDATED:-0}
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    APT_UPDATED=0
  fi
  ensure_deb_src
  local missing
  missing=$(missing_packages)
  if [ -n "$missing" ]; then
    echo "Installing: $missing" >&2
    apt-get update -qq
    APT_UPDATED=1
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends $missing >/dev/null
  fi
  ensure_wine_locale
}

# Generates the Wine tests' locales once (localedef from `locales`): the
# Japanese one and the English one of the English dialog tests.
ensure_wine_locale() {
  ensure_locale "$TESSIVANE_WINE_LOCALE"
  ensure_locale en_US.UTF-8
}

# Generates one UTF-8 locale (ll_CC.UTF-8 or ll_CC.utf8) unless it exists;
# other names are left to the system.
ensure_locale() {
  local locale=$1 name
  case "$locale" in
    *.UTF-8 | *.utf8) name=${locale%.*} ;;
    *) return 0 ;;
  esac
  locale -a 2>/dev/null | grep -qix "$name.utf8" && return 0
  echo "Generating the locale $name.UTF-8" >&2
  localedef -i "$name" -f UTF-8 "$name.UTF-8"
}
