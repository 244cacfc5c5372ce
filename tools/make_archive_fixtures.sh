#!/bin/bash
# Makes the 7z archives the archive library's tests read, with the 7z command, into the folder
# given as the first argument (created when missing). Nothing made here is kept in the tree.
# With "large" as the second argument only large.7z is made (it takes the longest); otherwise
# everything but large.7z.
#
#   tree/          the files every good archive holds: nested folders, an empty folder, an empty
#                  file, Polish names and a name outside the basic plane
#   plain.7z       non-solid            solid.7z       solid
#   crc.7z         stored, one data byte flipped (CRC error)
#   damaged.7z     LZMA, packed data damaged          truncated.7z   cut short
#   notarchive.7z  plain text
#   enc_data.7z    data encrypted with "tajne"        enc_headers.7z headers encrypted too
#   polish_pw.7z   data and headers encrypted with a Polish password
#   absolute.7z    one ordinary item and one stored with an absolute name
#   dotdot.7z      an item stored as ../w/g.txt
#   linkdir.7z     an item below a folder named "link" (the tests plant a link there)
#   large.7z       many megabytes, LZMA2 in several blocks, encrypted ("tajne"), for the thread test
#   empty.7z       an archive without items
set -euo pipefail

out=${1:?usage: make_archive_fixtures.sh OUTPUT_FOLDER [large]}
mkdir -p "$out"
cd "$out"
export TZ=UTC

z() { 7z "$@" -bd -bso0 -bsp0 >/dev/null; }

# Fixed times, so that listings and extracted files can be compared exactly.
stamp() { find "$1" -exec touch -h -d '2021-03-04 05:06:07.1234567' {} +; }

if [ "${2:-}" = large ]; then
    rm -rf big && mkdir -p big
    head -c 12000000 /dev/urandom | base64 > big/dane.txt
    stamp big
    (cd big && z a -p'tajne' -mhe=on -m0=LZMA2:d=1m -mmt=4 ../large.7z dane.txt)
    exit 0
fi

rm -rf tree && mkdir -p tree/Plytki/Kuchnia tree/Puste tree/Dane
printf 'kafel %s\n' $(seq 1 400) > tree/Plytki/Kuchnia/kafle.txt
printf 'ściana\n' > tree/Plytki/zażółć_gęślą_jaźń.txt
printf 'astral\n' > "tree/Dane/nuta_$(printf '\xf0\x9d\x84\x9e').txt"
: > tree/Dane/pusty.dat
head -c 70000 /dev/urandom > tree/Dane/losowe.bin
stamp tree

(cd tree && z a -ms=off ../plain.7z . && z a -ms=on ../solid.7z .)
(cd tree && z a -p'tajne' ../enc_data.7z . && z a -p'tajne' -mhe=on ../enc_headers.7z .)
(cd tree && z a -p'zażółć_gęślą_jaźń' -mhe=on ../polish_pw.7z .)

# Stored, so a flipped byte in the data area reaches the CRC check unchanged.
(cd tree && z a -m0=Copy ../crc.7z Plytki/Kuchnia/kafle.txt)
printf '\x58' | dd of=crc.7z bs=1 seek=100 conv=notrunc status=none

(cd tree && z a -m0=LZMA ../damaged.7z Plytki/Kuchnia/kafle.txt)
printf '\xff\x00\xff\x00' | dd of=damaged.7z bs=1 seek=40 conv=notrunc status=none

cp plain.7z truncated.7z
truncate -s $(( $(stat -c %s plain.7z) / 2 )) truncated.7z

printf 'To nie jest archiwum.\n' > notarchive.7z

rm -rf abs && mkdir -p abs && printf 'poza\n' > abs/outside.txt && printf 'w srodku\n' > abs/inside.txt
stamp abs
(cd abs && z a ../absolute.7z inside.txt && z a -spf ../absolute.7z "$PWD/outside.txt")
rm abs/outside.txt

rm -rf up && mkdir -p up/w && printf 'wyzej\n' > up/w/g.txt && stamp up
(cd up/w && z a -spf ../../dotdot.7z ../w/g.txt)

rm -rf linksrc && mkdir -p linksrc/link && printf 'przez link\n' > linksrc/link/file.txt
stamp linksrc
(cd linksrc && z a ../linkdir.7z link)

rm -rf none && mkdir -p none
(cd none && z a ../empty.7z . -x'!*')
