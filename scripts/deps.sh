#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
# Safe to run again. Uses sudo when not run as root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git ccache
  libgtest-dev libgmock-dev libbenchmark-dev
  clang clang-format libclang-rt-14-dev llvm
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libqt6svg6-dev
  libgl-dev
  # scenario files of rys test and the Test Call panel
  libyaml-cpp-dev
  # install checks and the Debian package: desktop entry, file types, metainfo, icons, Depends
  desktop-file-utils shared-mime-info appstream libxml2-utils librsvg2-bin dpkg-dev xdg-utils
  man-db
  # the Arrange benchmark lays the same scripts out with dot to compare
  graphviz
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
