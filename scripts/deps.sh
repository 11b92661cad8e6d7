# Sourced by the set-up commands. Installs the Debian packages a command
# needs when run as root; otherwise names the one apt-get line to run.

VERSOMAT_BUILD_PACKAGES="g++ cmake make python3 libxcb1-dev qt6-base-dev qt6-qpa-plugins qt6-wayland qt6-translations-l10n fonts-liberation2 zlib1g-dev libqrcodegen-dev"
# The web edition's core: emscripten, and node-acorn for its optimizer;
# rsvg-convert draws the phone icons.
VERSOMAT_WEB_PACKAGES="cmake make emscripten node-acorn nodejs librsvg2-bin"
VERSOMAT_TEST_PACKAGES="$VERSOMAT_WEB_PACKAGES libgtest-dev unzip locales fonts-dejavu-core xvfb x11-utils xdotool xclip clang libclang-rt-14-dev dbus-daemon dbus-bin at-spi2-core python3-pyatspi weston"
VERSOMAT_BENCH_PACKAGES="libbenchmark-dev"
# A release: dpkg-shlibdeps (dpkg-dev) and file compute the .deb's library
# dependencies, so their absence would change the package.
VERSOMAT_RELEASE_PACKAGES="$VERSOMAT_BUILD_PACKAGES $VERSOMAT_WEB_PACKAGES dpkg-dev file python3"

versomat_missing_packages() {
  local missing=() p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  echo "${missing[*]}"
}

# versomat_ensure_packages PACKAGE...
versomat_ensure_packages() {
  local missing
  missing=$(versomat_missing_packages "$@")
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing missing Debian packages: $missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq </dev/null
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends $missing </dev/null
  else
    echo "Missing Debian packages. Install them with:" >&2
    echo "  sudo apt-get install $missing" >&2
    exit 1
  fi
}
