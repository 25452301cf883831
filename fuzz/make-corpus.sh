#!/usr/bin/env bash
# Writes the seed corpus of every fuzz target into fuzz/corpus/ again, from
# the project's own tools: quillon-pack's packages and dataset.ini made from
# samples/plain, a language file, the registry export that the demonstration
# writes, and the README's command lines.
#   fuzz/make-corpus.sh [BUILD_DIR]   (default: build/default, which must hold quillon-pack)
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/default}/bin
corpus=fuzz/corpus
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$corpus"
mkdir -p "$corpus"/{package,ini,reg,commandline,journal}

"$bin/quillon-pack" samples/plain "$work/set" --year 2027 --season S/S --volume 12 \
    --folder STY=STY_2027SS --folder STI=STI_2027SS --folder DETAIL=DETAIL_2027SS >/dev/null

# package: a first byte picks the extension (0 .sty_, 1 .sti_, 2 .tex_, 3 .tfc_).
seed() { { printf "\\x$1"; cat "$2"; } >"$corpus/package/$3"; }
seed 00 "$work/set/STY_2027SS/Casual/Blouse/BL27S01.sty_" sty-packed
seed 01 "$work/set/STI_2027SS/Casual/Blouse/BL27S01.sti_" sti-packed
seed 02 "$work/set/DETAIL_2027SS/Pockets/PK27S01.tex_" tex-packed
seed 03 "$work/set/DETAIL_2027SS/Pockets/PK27S01.tfc_" tfc-packed
seed 00 samples/plain/STY_2027SS/Casual/Blouse/BL27S01.sty sty-plain

# ini: a data set description and a language file, also in UTF-16LE.
cp "$work/set/dataset.ini" "$corpus/ini/dataset.ini"
{ printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$work/set/dataset.ini"; } >"$corpus/ini/dataset-utf16.ini"
cp resources/English.tdw "$corpus/ini/English.tdw"

# reg: the demonstration's export, in UTF-8 and UTF-16LE, and one with more of the format.
printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_LOCAL_MACHINE\SOFTWARE\Kestrel\Vestra\3.1\Directory]' \
    '"Defaultdir"="/tmp/quillon-demo/Vestra 3.1"' >"$corpus/reg/demo.reg"
{ printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$corpus/reg/demo.reg"; } >"$corpus/reg/demo-utf16.reg"
printf '%s\r\n' 'REGEDIT4' '' '; two versions, a long value and a deleted key' \
    '[HKEY_LOCAL_MACHINE\SOFTWARE\Kestrel\Vestra\2.0\Directory]' \
    '"Defaultdir"="C:\\Program Files\\Vestra 2.0\\"' '"Blob"=hex:00,01,\' '  02,03' \
    '@="default"' '"Count"=dword:00000001' \
    '[HKEY_LOCAL_MACHINE\SOFTWARE\Kestrel\Vestra\3.10\Directory]' '"Defaultdir"="D:\\V\\"' \
    '"Defaultdir"=-' '[-HKEY_LOCAL_MACHINE\SOFTWARE\Kestrel\Vestra\9.0]' >"$corpus/reg/versions.reg"

# commandline: the README's command lines, the arguments separated by zero bytes.
line() {
    local name=$1 first=$2
    shift 2
    { printf '%s' "$first"; for a in "$@"; do printf '\0%s' "$a"; done; } >"$corpus/commandline/$name"
}
line windows --lang Korean --dataset /data/Season2027SS --registry /tmp/registry.reg
line basic --silent --dataset 'D:\Season2027SS' --kinds STY,STI
line user --silent --kinds STY --units 'STY=Casual/Blouse;Formal' --dest 'STY=D:\Vestra\Bin\STY' \
    --overwrite all --save-status yes --status-dir /tmp/status
line help --help
# found by fuzzing: an empty name once stood for the root or for another store
line empty-dataset --silent --dataset 'D:\Season2027SS' --dataset ''
line empty-status-dir --status-dir ''

# journal: a run of ours killed half way, one that was over, and one naming a
# file outside its destination, which the recovery refuses.
d=/tmp/quillon-demo/Vestra%203.1/Bin/STY_2027SS # blanks are written %20
journal() {
    local name=$1
    shift
    printf '%s\n' "quillon-journal 1 English" "$@" >"$corpus/journal/$name"
}
journal killed "root $d" "folder $d/Casual" "temp $d/Casual/BL27S01.sty_" \
    "temp $d/Casual/BL27S01.sty.a1B2c3.quillon-part" \
    "aside $d/Casual/BL27S01.sty $d/Casual/BL27S01.sty.x9Y8z7.quillon-old"
journal over "root $d" "new $d/Casual/BL27S02.sty" "undone $d/Casual/BL27S03.sty" \
    "keep $d/Casual/BL27S01.sty.x9Y8z7.quillon-old" done
journal foreign "root $d" "new /etc/passwd" "aside $d/a.sty $d/b.sty"
# found by fuzzing: a step with an empty path once passed the rules as trusted
journal empty-path "root $d" "new "
