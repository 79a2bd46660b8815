#!/usr/bin/env bash
# Sets Brindle up on Debian 12 and then starts it, runs every test, starts the
# demo or builds the Debian package.
#   ./setup.sh run      install what is missing, build, start the program
#   ./setup.sh test     install what is missing, build, run all tests (also under sanitizers)
#   ./setup.sh demo     as run, but on a private demo mailbox that gets mail
#   ./setup.sh package  install what is missing, build, make build/brindle_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")"

# What building and running the program needs.
program_packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-webengine-dev qt6-qpa-plugins libgl-dev libxcb1-dev
    libssl-dev ca-certificates
    libfluidsynth-dev timgm6mb-soundfont
    fonts-ipafont-gothic qt6-translations-l10n qt6-tools-dev qt6-l10n-tools
    qtkeychain-qt6-dev
)
# What the tests need besides: a real POP3 and IMAP server, an X server with a window
# manager and the two kinds of system tray, a private D-Bus with a keyring, GNOME's
# online accounts, a notification server (dunst) and the accessibility bus on it, a
# private sound server with the tools that record and measure it, the peers the
# benchmarks compare against, and clang with libFuzzer (and llvm-symbolizer for its
# reports) for the fuzz tests.
test_packages=(
    googletest libgtest-dev libgmock-dev
    dovecot-pop3d dovecot-imapd
    xvfb xauth x11-utils openbox wmctrl trayer
    dbus xdotool gnome-keyring libsecret-tools gnome-online-accounts dunst
    haskell-status-notifier-item-utils haskell-gtk-sni-tray-utils at-spi2-core python3-pyatspi
    locales pulseaudio pulseaudio-utils sox
    openssl curl python3
    clang libclang-rt-14-dev llvm
)

# What the demo needs besides: a POP3 server for its mailbox.
demo_packages=(dovecot-pop3d)
# What the Debian package and the checks of the installed files need besides.
package_packages=(dpkg-dev file desktop-file-utils appstream)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {
    local missing=()
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root apt-get update -q
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
    fi
}

# The locales the tests start the program in (Japanese and English windows).
test_locales=(ja_JP.UTF-8 en_US.UTF-8)

generate_locales() {
    local missing=()
    for name in "${test_locales[@]}"; do
        if ! locale -a | grep -qix "${name/UTF-8/utf8}"; then
            missing+=("$name")
        fi
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        echo "Generating locales: ${missing[*]}"
        for name in "${missing[@]}"; do
            as_root sed -i "s/^# *\(${name} UTF-8\)/\1/" /etc/locale.gen
        done
        as_root locale-gen
    fi
}

build() { # build-dir [cmake options...]
    local dir=$1
    shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$dir" -j "$(nproc)"
}

case "${1:-}" in
run)
    install_missing "${program_packages[@]}"
    build build -DBRINDLE_BUILD_TESTS=OFF
    exec build/bin/brindle
    ;;
test)
    install_missing "${program_packages[@]}" "${test_packages[@]}" "${package_packages[@]}"
    generate_locales
    build build
    status=0
    (cd build && ctest --output-on-failure --timeout 600) || status=1
    # Everything that does not embed Qt WebEngine, once more under the sanitizers.
    build build-sanitize -DBRINDLE_SANITIZE=ON -DBRINDLE_BUILD_APP=OFF
    (cd build-sanitize && ctest --output-on-failure --timeout 600) || status=1
    exit "$status"
    ;;
demo)
    install_missing "${program_packages[@]}" "${demo_packages[@]}"
    build build -DBRINDLE_BUILD_TESTS=OFF
    exec tools/demo.sh build/bin
    ;;
package)
    install_missing "${program_packages[@]}" "${package_packages[@]}"
    build build -DBRINDLE_BUILD_TESTS=OFF
    (cd build && cpack)
    echo "Install it with: sudo apt-get install ./$(ls -t build/brindle_*.deb | head -n 1)"
    ;;
*)
    echo "usage: $0 run|test|demo|package" >&2
    exit 2
    ;;
esac
