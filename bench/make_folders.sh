#!/usr/bin/env bash
# Makes the benchmark folders straight from Linux: seconds, where making them through Wine takes about
# twenty minutes for 100,000 files (every new name is checked against the whole folder, ignoring case).
# Usage: make_folders.sh <base> <divisor>   (divisor 1 for the full sizes, 10 for a quick look)
# A folder is made once; a stamp beside it says it is complete.
set -euo pipefail
base=$1
div=${2:-1}
mkdir -p "$base"
export LC_ALL=C.UTF-8

# The names as Linux holds them: UTF-8, which Wine under pl_PL.UTF-8 turns into code page 1250.
# Words, numbers, both letter cases, Polish letters; ten extensions, one of them .txt, none empty.
short_names() {  # short_names <count>
  awk -v n="$1" 'BEGIN {
    split("dokument|Zdjęcie|raport|Faktura|żółw|notatka|LISTA|Łódź|plan_|Umowa-", stem, "|")
    split(".txt|.doc|.exe|.JPG|.pdf|.csv|.bat|.Dat|.xml|.odt", ext, "|")
    for (i = 0; i < n; i++)
      printf "%s%d%s\n", stem[i % 10 + 1], (i * 7919) % (n * 3) + 1, ext[int(i / 10) % 10 + 1]
  }'
}

# 104 to 120 characters, alike at the start as long names in one folder are. awk here counts bytes, so
# the character lengths of the Polish parts come from the shell and the padding is plain ASCII.
long_heads="Sprawozdanie z działalności zarządu spółki akcyjnej|Protokół z posiedzenia rady nadzorczej w sprawie|Zaświadczenie o niezaleganiu w podatkach i składkach|Umowa o świadczenie usług księgowych i doradczych|Wniosek o przyznanie dofinansowania ze środków UE"
long_mids="za rok obrotowy zakończony w grudniu|wersja zatwierdzona przez zgromadzenie|dla oddziałów w Łodzi i Częstochowie|z załącznikami i uwagami księgowego"
char_lengths() {  # the length in characters of each |-separated part
  local IFS='|' part out=""
  for part in $1; do out+="${out:+|}${#part}"; done
  printf '%s' "$out"
}
long_names() {  # long_names <count>
  awk -v n="$1" -v H="$long_heads" -v M="$long_mids" -v HL="$(char_lengths "$long_heads")" \
      -v ML="$(char_lengths "$long_mids")" 'BEGIN {
    split(H, head, "|"); split(M, mid, "|"); split(HL, hl, "|"); split(ML, ml, "|")
    pad = "-wersja-robocza-kopia-zapasowa-archiwum-dokumentow"
    for (i = 0; i < n; i++) {
      h = i % 5 + 1; m = int(i / 5) % 4 + 1
      tail = sprintf(" nr %d", (i * 7919) % (n * 3) + 1)
      fixed = hl[h] + 1 + ml[m] + length(tail) + 4
      want = 104 + (i * 37) % 17
      fill = want > fixed ? want - fixed : 0
      printf "%s %s%s%s.txt\n", head[h], mid[m], substr(pad, 1, fill), tail
    }
  }'
}

make_files() {  # make_files <folder> <generator> <count>
  local folder=$1 gen=$2 count=$3
  [ -f "$folder.done" ] && return 0
  rm -rf "$folder"; mkdir -p "$folder"
  echo "making $folder ($count files)" >&2
  (cd "$folder" && "$gen" "$count" | xargs -d '\n' touch --)
  touch "$folder.done"
}

make_dirs() {  # make_dirs <folder> <count> <prefix>
  local folder=$1 count=$2 prefix=$3
  [ -f "$folder.done" ] && return 0
  rm -rf "$folder"; mkdir -p "$folder"
  echo "making $folder ($count folders)" >&2
  (cd "$folder" && awk -v n="$count" -v p="$prefix" 'BEGIN {
      for (i = 0; i < n; i++) printf "%s %05d\n", p, (i * 7919) % n }' | xargs -d '\n' mkdir --)
  touch "$folder.done"
}

files=$((100000 / div))
make_files "$base/files_$files" short_names "$files"
make_files "$base/long_$files" long_names "$files"
make_dirs "$base/dirs_$((10000 / div))" $((10000 / div)) "katalog"

# The million: plain numbered names, as a camera or a logger leaves them.
million_names() {  # million_names <count>
  awk -v n="$1" 'BEGIN { for (i = 0; i < n; i++) printf "f%07d.dat\n", i }'
}
make_files "$base/million_$((1000000 / div))" million_names $((1000000 / div))

# The tree: a folder of many subfolders and, after it in the shell's order, the one that gets selected.
tree="$base/tree_$((3000 / div))"
if [ ! -f "$tree.done" ]; then
  rm -rf "$tree"; mkdir -p "$tree/yonder/inner"
  make_dirs "$tree/wide" $((3000 / div)) "podkatalog"
  touch "$tree.done"
fi

# A small folder: a start that reads next to nothing.
small="$base/small"
if [ ! -f "$small.done" ]; then
  rm -rf "$small"; mkdir -p "$small/alfa" "$small/beta"
  (cd "$small" && short_names 20 | xargs -d '\n' touch --)
  touch "$small.done"
fi
