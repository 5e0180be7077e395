# Shared by the scripts: install what is missing, configure and build.
# shellcheck shell=bash
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PACKAGES=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev libgl-dev desktop-file-utils shared-mime-info libxml2-utils
          file groff-base nlohmann-json3-dev qt6-translations-l10n python3-gi python3-nautilus
          xvfb xauth dbus at-spi2-core gir1.2-atspi-2.0)
# The Windows cross build and the Wine that runs its tests (scripts/windows).
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine wine64 cmake ninja-build
                  fonts-wine xvfb xdotool wixl msitools faketime)
# scripts/reproduce
REPRODUCE_PACKAGES=(git diffoscope-minimal)

ensure_packages() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installiere fehlende Pakete: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# configure_and_build BUILD_DIR [cmake options...]
configure_and_build() {
    local dir="$1"
    shift
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
    fi
    cmake --build "$dir" --parallel "$(nproc)"
}

# Release files take their times from the last commit, not from the clock of the build.
use_commit_time() {
    SOURCE_DATE_EPOCH="$(git -C "$ROOT" log -1 --format=%ct)"
    export SOURCE_DATE_EPOCH
}

# fix_modes_and_times FOLDER: modes that do not follow the umask, every time the commit's.
fix_modes_and_times() {
    find "$1" -type d -exec chmod 0755 {} +
    find "$1" -type f -perm /111 -exec chmod 0755 {} +
    find "$1" -type f ! -perm /111 -exec chmod 0644 {} +
    find "$1" -exec touch --no-dereference --date="@$SOURCE_DATE_EPOCH" {} +
}
