#!/usr/bin/env bash
# Installs the Debian packages this project needs, only those that are missing.
# Usage: scripts/deps.sh run|web|test
set -euo pipefail

# The build splits the compiled-in font into its bitmap strikes with fonttools. The X display
# check links libxcb (found through pkg-config); Qt's Wayland plugin is what a Wayland desktop
# runs the program with.
packages=(cmake g++ make qt6-base-dev fonts-wine python3-fonttools libxcb1-dev pkgconf qt6-wayland)
# The browser page: Emscripten (with the node it runs on), brotli for fontTools' WOFF2, and
# doctest for the core's tests, which the web build runs under node.
web=(cmake make fonts-wine python3-fonttools emscripten python3-brotli doctest-dev)
[ "${1:-run}" = web ] && packages=("${web[@]}")
if [ "${1:-run}" = test ]; then
    # Window tests on a real X server, the clipboard read from outside the program, typing in
    # other keyboard layouts and with Compose (setxkbmap, the layouts, the Compose tables),
    # the fuzz target, the benchmark, the memory check, the install and .deb checks (lintian,
    # and hardening-check from devscripts), the program under a Wayland compositor, a screen
    # reader's view through AT-SPI (a session bus, the AT-SPI registry, pyatspi for Debian's
    # own python3), Orca to say what a blind user hears, and qt6ct's colour schemes for the theme
    # tests; the Windows program cross-built and tested under Wine (64-bit only), its version resource and imports read
    # back with pefile, its ZIP listed with unzip; the browser page built and driven in
    # Chromium over its DevTools protocol (python3-websocket), Firefox ESR over WebDriver BiDi and
    # WebKitGTK over its WebDriver (with selenium), each with a window on Xvfb under a small
    # window manager.
    packages+=("${web[@]}" chromium python3-websocket firefox-esr webkit2gtk-driver python3-selenium
               matchbox-window-manager
               xvfb xdotool xclip x11-utils x11-xkb-utils xkb-data libx11-data libx11-dev
               clang libclang-rt-dev libbenchmark-dev valgrind
               desktop-file-utils appstream dpkg-dev file imagemagick llvm lintian devscripts
               weston wl-clipboard doctest-dev dbus at-spi2-core python3-pyatspi orca qt6ct
               g++-mingw-w64-x86-64-win32 wine wine64 python3-pefile unzip)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null \
        || { echo "Missing packages: ${missing[*]}. Run as root, or install sudo." >&2; exit 1; }
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
