#!/bin/sh
# The pack lists of the 32-bit DLL must be byte for byte those of the 64-bit
# build: the example regions and generated ones, whose rectangle edges sit on
# and beside the cell edges where a difference in floating-point evaluation
# would move a truncation. The 64-bit lists come from the host build's front
# end, the 32-bit ones from the shipped DLL through the 32-bit front end
# under 32-bit Wine.
# Usage: pack_lists_cross_width.sh HOST_FRONT_END WINE_RUN PREFIX FRONT_END WORK_FOLDER EXAMPLE_REGION...
set -eu
host=$1 wine_run=$2 prefix=$3 front_end=$4 work=$5
shift 5
[ -x "$host" ] || { echo "no host front end at $host: build the host preset first"; exit 1; }
rm -rf "$work"
mkdir -p "$work/regions" "$work/host" "$work/win32"
cp "$@" "$work/regions/"

# Regions of every series with sheets of each kind; rectangle corners on
# cell edges, a hair beside them, and on decimal fractions that binary
# cannot hold. Park-Miller draws keep them the same on every machine.
generate() {
  awk -v seed="$1" -v version="$2" 'function draw(n) { seed = (seed * 16807) % 2147483647; return seed % n }
    function coordinate(origin, cell,   k, shift) {
      k = draw(40); shift = draw(5)
      return origin + k * cell + (shift == 1 ? 1e-9 : shift == 2 ? -1e-9 : shift == 3 ? 0.1 : shift == 4 ? -0.0125 : 0)
    }
    function longitude(value) { return version < 2 && value < 0 ? value + 360 : value }
    function sheets(count, cell_lon, cell_lat,   i, flags, lat, lon, s, w) {
      for (i = 0; i < count; i++) {
        flags = draw(6); flags = flags == 1 ? 2 : flags == 2 ? 4 : flags == 3 ? 8 : flags == 4 ? 16 : 0
        lat = 30 + draw(12); lon = 100 + draw(20)
        if (flags == 4 || flags == 8) {
          s = coordinate(lat, cell_lat); w = -coordinate(lon, cell_lon)
          printf "%d, \"%02d%03d-%c%d\", \"rectangle %d\", %.15g, %.15g, %.15g, %.15g\n", flags, lat, lon,
            65 + draw(8), 1 + draw(8), i, s, longitude(w + cell_lon * (1 + draw(9))), s + cell_lat * (1 + draw(9)), longitude(w)
        } else {
          printf "%d, \"%02d%03d-%c%d\", \"sheet %d\"\n", flags, lat, lon, 65 + draw(8), 1 + draw(8), i
        }
      }
      print "0, \"\", \"closes the list\""
      print ""
    }
    BEGIN {
      printf "Generated region %d\nGEN-%d\n%s\n// generated\n\np\nd\nu\ne\n3\n\n", seed, seed, version
      print "24, \"quadrangles\""; print "-122.375, 36.5, -121.5, 37.25"; print "8, 6, 7, 4"; print "122, 1, 36, 8"
      print ""; print "// sheets"; sheets(60, 0.125, 0.125)
      print "100, \"1:100,000\", 1.0, 0.5"; print "-123.0, 36.0, -121.0, 37.5"; print "2, 2, 1, 1"; print "122, 1, 36, 1"
      print ""; print "// sheets"; sheets(20, 1.0, 0.5)
      print "250, \"1:250,000\""; print "-123.0, 36.0, -121.0, 38.0"; print "1, 1, 1, 1"; print "121, 1, 36, 1"
      print ""; print "// sheets"; sheets(10, 1.0, 0.5)
    }'
}
for seed in 11 4242 987654; do generate $seed 2.0 >"$work/regions/generated_$seed.rgn"; done
generate 31337 1.0 >"$work/regions/generated_31337_v1.rgn"

for region in "$work"/regions/*; do
  name=$(basename "$region")
  for list in "24k 24000" "24k 100000" "24k 250000" "100k 100000" "100k 250000"; do
    set -- $list
    file=$name.$1.$2.lst
    echo "$name $1 $2 $("$host" "packlist$1" "$region" "$work/host/$file" "$2" | tail -n 1)" >>"$work/host.txt"
    echo "$name $1 $2 $("$wine_run" win32 "$prefix" "$front_end" "packlist$1" "Z:$region" "Z:$work/win32/$file" "$2" |
      tr -d '\r' | tail -n 1)" >>"$work/win32.txt"
  done
done

status=0
diff -u "$work/host.txt" "$work/win32.txt" || { echo "the results differ (64-bit, then 32-bit)"; status=1; }
for list in $( (cd "$work/host" && ls; cd "$work/win32" && ls) | sort -u); do
  cmp "$work/host/$list" "$work/win32/$list" || status=1
done
lists=$(ls "$work/host" | wc -l)
[ "$lists" -gt 0 ] || { echo "no list was written"; status=1; }
[ $status -eq 0 ] && echo "$lists pack lists of $(ls "$work/regions" | wc -l) regions are equal in both widths"
exit $status
