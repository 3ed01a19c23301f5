#!/usr/bin/env bash
# Installs what the build and the tests need, only when something is missing.
set -euo pipefail

packages=(
  cmake make g++ python3 googletest libgtest-dev clang libclang-rt-dev zlib1g-dev
  mingw-w64 g++-mingw-w64-i686 gcc-mingw-w64-i686 g++-mingw-w64-x86-64 gcc-mingw-w64-x86-64
  libz-mingw-w64-dev
  wine wine64 wine32:i386 xvfb x11-utils locales fonts-wqy-microhei fonts-wine
  fonts-arphic-gbsn00lp fonts-arphic-uming
  liblnk-utils libxml2-utils imagemagick nsis osslsigncode openssl
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# Wine takes its ANSI code page from the locale: zh_CN.UTF-8 gives 936; the
# other code pages' tests use en_US (1252), zh_TW (950), ja_JP (932) and ko_KR (949).
missing_locales=()
for name in zh_CN en_US zh_TW ja_JP ko_KR; do
  locale -a 2>/dev/null | grep -qi "^${name}\.utf-\?8\$" || missing_locales+=("$name")
done
if [ ${#missing_locales[@]} -gt 0 ]; then
  for name in "${missing_locales[@]}"; do
    sed -i "s/^# *\(${name}\.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^${name}.UTF-8 UTF-8" /etc/locale.gen || echo "${name}.UTF-8 UTF-8" >> /etc/locale.gen
  done
  locale-gen >/dev/null
fi
