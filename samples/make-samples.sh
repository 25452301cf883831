#!/usr/bin/env bash
# Writes the sample plain data of the demonstration into samples/plain/: a
# few units of each kind, small files with valid header records. STY data
# starts with a 936-byte header whose format number (signed 32-bit, little
# endian) is at offset 0, STI data with a 212-byte header holding it at
# offset 20; TEX and TFC data have no header that is checked. The output is
# the same on every run, so running it on an unchanged tree changes nothing.
#   samples/make-samples.sh
set -euo pipefail
cd "$(dirname "$0")"

readonly FORMAT_NUMBER=520 # the oldest readable format is 500

# The four bytes of a number, little endian, as printf escapes.
le32() {
    local n=$1
    printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((n & 255)) $(((n >> 8) & 255)) \
        $(((n >> 16) & 255)) $(((n >> 24) & 255))
}

# write_data FILE HEADER_SIZE NUMBER_OFFSET: a header record of zero bytes
# with the format number at its place, then a line naming the file.
write_data() {
    local file=$1 size=$2 offset=$3
    mkdir -p "$(dirname "$file")"
    {
        head -c "$offset" /dev/zero
        # shellcheck disable=SC2059 # the format is the escaped bytes
        printf "$(le32 "$FORMAT_NUMBER")"
        head -c $((size - offset - 4)) /dev/zero
        printf 'Quillon sample data: %s\n' "${file#plain/}"
    } >"$file"
}

sty() { write_data "plain/STY_2027SS/$1.sty" 936 0; }
sti() { write_data "plain/STI_2027SS/$1.sti" 212 20; }
detail_sty() { write_data "plain/DETAIL_2027SS/$1.sty" 936 0; }
detail_plain() { mkdir -p "$(dirname "plain/DETAIL_2027SS/$1")" && printf 'Quillon sample data: %s\n' "$1" >"plain/DETAIL_2027SS/$1"; }

rm -rf plain

# STY units: garments under "Top", "Pants" and "Skirt" under "Bottom".
sty Casual/Blouse/BL27S01
sty Casual/Blouse/BL27S02
sty Casual/Pants/PT27S01
sty Formal/Coat/CT27S01
sty Formal/Skirt/SK27S01
sty Sports/Jacket/JK27S01
sty Sports/Pants/PT27S11

# STI units with their subfolders.
sti Casual/Blouse/BL27S01
sti Casual/Pants/PT27S01
sti Formal/Coat/CT27S01
sti Formal/Skirt/SK27S01

# DETAIL units: a detail's .sty with its texture and its .tfc.
for unit in Collars/CL27S01 Pockets/PK27S01 Pockets/PK27S02 Buttons/BT27S01; do
    detail_sty "$unit"
    detail_plain "$unit.tex"
    detail_plain "$unit.tfc"
done
