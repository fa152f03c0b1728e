#!/usr/bin/env bash
# make_corpus.sh DIR: fills DIR/files with Debian-shipped files of four kinds (text,
# source, binaries, images), about 60 MB in all, and writes DIR/corpus.zip from them
# with Info-ZIP zip at its default level. The picks are sorted, so a machine with the
# same packages gets the same corpus.
set -euo pipefail

dir=$1
files=$dir/files
mkdir -p "$files"

# take KIND LIMIT_MB FIND-ARGS...: copies the files find lists, in sorted order, until
# LIMIT_MB, keeping their paths below DIR/files/KIND.
take() {
  local kind=$1 limit=$(($2 * 1024 * 1024))
  shift 2
  mkdir -p "$files/$kind"
  find "$@" -printf '%s\t%p\n' 2>/dev/null | sort -t "$(printf '\t')" -k2 |
    awk -F '\t' -v limit="$limit" '$1 > 0 && total + $1 <= limit { total += $1; print $2 }' |
    tar -chf - --files-from=- 2>/dev/null | tar -xf - -C "$files/$kind"
}

take text 15 /usr/share/common-licenses /usr/share/perl /usr/share/doc -type f \
  \( -name '*.txt' -o -name '*.pod' -o -name '*.html' -o -name copyright -o -name 'GPL-*' \)
take source 15 /usr/include -type f \( -name '*.h' -o -name '*.hpp' \)
take binaries 25 /usr/bin /usr/lib/x86_64-linux-gnu -maxdepth 1 -type f -size +200k
take images 6 /usr/share/icons /usr/share/doc /usr/share/pixmaps -type f \
  \( -name '*.png' -o -name '*.jpg' -o -name '*.gif' -o -name '*.svg' \)

(cd "$files" && zip -qr -X "$dir/corpus.zip" .)
