#!/usr/bin/env bash
# Fails when a C++ file of the tree is not laid out as .clang-format says.
# Installs Debian's clang-format 14 when it is missing.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
if ! command -v clang-format >/dev/null 2>&1; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends clang-format
fi
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
