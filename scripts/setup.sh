#!/usr/bin/env bash
# Installs the Debian packages Pramel needs to build, test and run, but only
# those that are missing, so a second run costs a fraction of a second.
set -euo pipefail

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-multimedia-dev
  libsqlite3-dev gstreamer1.0-plugins-base libbenchmark-dev xvfb xauth
  libicu-dev libzip-dev libqt6svg6 librsvg2-bin desktop-file-utils appstream
  # The language of an opened text: the library and its language models.
  libexttextcat-dev libexttextcat-data
  qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
  # Qt TextToSpeech; its header needs QtQmlIntegration (qt6-declarative-dev).
  qt6-speech-dev qt6-declarative-dev qt6-speech-flite-plugin qt6-speech-speechd-plugin
  # The Chinese prose the tokenizer's tests split; the German, Russian and
  # English texts whose sentences and languages the importing and sentence
  # tests find.
  fortunes-zh fortunes-de fortunes-ru bible-kjv
  # The forms of a word: Hunspell and its dictionaries, MeCab and its Japanese
  # dictionary; the word families' tests expand the dictionaries with unmunch
  # and read Japanese with mecab.
  libhunspell-dev hunspell-tools libmecab-dev mecab-ipadic-utf8 mecab
  hunspell-de-de hunspell-ru hunspell-es hunspell-fr hunspell-it hunspell-en-us
  # Glosses: a DICT server and the German and Japanese FreeDict dictionaries
  # (the glosses' tests start a server of their own on them).
  dictd dict-freedict-deu-eng dict-freedict-jpn-eng)
# Extra packages a caller may ask for (for example clang for the fuzz targets).
PACKAGES+=("$@")

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing missing packages: ${missing[*]}"
  SUDO=""
  if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
