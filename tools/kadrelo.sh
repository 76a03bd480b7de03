#!/usr/bin/env bash
# Set-up, build and start of Dorvat Kadrelo on Debian 12.
#   tools/kadrelo.sh run    install what is missing, build, start the program
#   tools/kadrelo.sh test   install what is missing, build, check the layout of
#                           the sources, run every test
# With KADRELO_SANITIZE=1 either builds into build-sanitize/ with
# AddressSanitizer and UndefinedBehaviorSanitizer; the first report stops.
# The test build treats every compiler warning as an error.
set -euo pipefail

mode=${1:-run}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
sanitize=OFF
[ "${KADRELO_SANITIZE:-0}" = 1 ] && sanitize=ON
if [ $sanitize = ON ]; then
    build=${KADRELO_BUILD_DIR:-$root/build-sanitize}
else
    build=${KADRELO_BUILD_DIR:-$root/build}
fi

# The compiler and build tools; Qt (its OpenGL headers come with qt6-base-dev);
# SQLCipher, and its stock shell, with which a test reads a database file;
# pugixml and zlib; DejaVu fonts (the condensed face stands in for Tahoma);
# Qt's Polish translations of its standard buttons.
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev libsqlcipher-dev sqlcipher
          libpugixml-dev zlib1g-dev fonts-dejavu-core fonts-dejavu-extra qt6-translations-l10n)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

werror=OFF
[ "$mode" = test ] && werror=ON
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${KADRELO_BUILD_TYPE:-RelWithDebInfo} \
      -DKADRELO_SANITIZE=$sanitize -DKADRELO_WERROR=$werror
cmake --build "$build" --parallel "$(nproc)"

case "$mode" in
    run)
        exec "$build/bin/DtKadrelo" ;;
    test)
        # The tree stays as the project's .clang-format lays it out.
        "$root/tools/check-format.sh"
        export QT_QPA_PLATFORM=offscreen
        ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" ;;
    *)
        echo "usage: $0 run|test" >&2; exit 2 ;;
esac
