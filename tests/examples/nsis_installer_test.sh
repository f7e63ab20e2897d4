#!/bin/sh
# Builds the NSIS example for one width, runs it silently under Wine against
# the account-service stand-in, and checks what it did: its results, the
# files it wrote, and the account as the service holds it (read back on the
# host, through the host's front end).
# Usage: nsis_installer_test.sh win32|win64 WINE_RUN PREFIX DLL SOURCE_DIR HOST_BIN PORT_FILE
set -eu
arch=$1 wine_run=$2 prefix=$3 dll=$4 source=$5 host_bin=$6 port_file=$7
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "nsis $arch: $*" >&2; exit 1; }
wine() { "$wine_run" "$arch" "$prefix" "$@"; }

target=TARGET_AMD64 && [ "$arch" = win64 ] || target=TARGET_X86
font=/usr/share/wine/fonts/tahoma.ttf
makensis -V2 -NOCD "-D$target" "-DVELINST_DLL=$dll" "-DREGION_FILE=$source/examples/monterey_bay.rgn" \
  "-DPRODUCT_FONT=$font" "-DOUTFILE=$work/setup.exe" "$source/examples/nsis/velinst-example.nsi" >"$work/makensis.log" 2>&1 \
  || { cat "$work/makensis.log" >&2; fail "makensis failed"; }

port=$(head -n 1 "$port_file")
# Hostile but legal answers: blanks, & < > " ' % + # = in the user name and
# password, Latin-1 letters in names and addresses, + in e-mail addresses.
# The installer reads them in the ANSI code page, as a user's answers file is.
user="Jo \"Q\" O'Neil & <Sons> 100% + $arch"
password="pa ss&<\"'%+#=>word"
cat >"$work/setup.utf8.ini" <<ANSWERS
[share]
server=localhost
name=maps
[account]
creator=velinst-admin
creator_password=admin-secret
product=NSIS-$arch
user=$user
password=$password
account_name=Müller & Söhne <GmbH>
address1=Hauptstraße 1
address2=c/o "Zoë"
city=Köln
state=NRW
zip=50667
contact_name=Renée Dubois
contact_email=renee+maps-$arch@mail.test
contact_phone=+49 221 555-0100
first_name=Zoë
last_name=O'Neil-Müller
email=zoe+$arch@mail.test
phone=+1 (555) 010-0199
ANSWERS
iconv -f UTF-8 -t WINDOWS-1252 "$work/setup.utf8.ini" >"$work/setup.ini"

wine reg add 'HKLM\Software\Corvane\Ridgeline Professional\6.00\URL\RidgelineMobile\server' /ve /d "127.0.0.1:$port" /f >/dev/null \
  || fail "cannot name the service in the registry"
mkdir "$work/install"
# /D takes the folder unquoted, so it must have no blank: the work folder has none.
wine "$work/setup.exe" /S "/D=Z:$(echo "$work/install" | tr / '\\')" || fail "the installer failed ($?)"

results="$work/install/velinst-results.ini"
[ -f "$results" ] || fail "no results written"
# ANSI from the x86-ansi installer; Wine may write the Unicode one's as UTF-16.
if [ "$(head -c 2 "$results" | od -An -tx1 | tr -d ' ')" = fffe ]; then
  iconv -f UTF-16 -t UTF-8 "$results" | tr -d '\r' >"$work/results"
else
  iconv -f WINDOWS-1252 -t UTF-8 "$results" | tr -d '\r' >"$work/results"
fi
value() { sed -n "s/^$1=//p" "$work/results" | head -n 1; }
expect() { [ "$(value "$1")" = "$2" ] || fail "$1 is '$(value "$1")', expected '$2' (results: $(tr '\n' ' ' <"$work/results"))"; }

# Wine serves no shares.
for pair in "os 5" "shellexec 1" "shellexec_nowait 1" "font 1" "share 0" "share_path " "creator_login 0" \
  "user_exists_code 0" "user_exists 0" "create 0" "user_login 0" "user_info 0"; do
  expect "${pair%% *}" "${pair#* }"
done
[ "$(tr -d '\r ' <"$work/install/waited.txt")" = waited ] || fail "the waited-for program did not run"
for _ in 1 2 3 4 5 6 7 8 9 10; do [ -s "$work/install/started.txt" ] && break; sleep 1; done
[ -s "$work/install/started.txt" ] || fail "the program started without waiting did not run"

# The pack lists equal those of the host library.
"$host_bin/velinst" packlist24k "$source/examples/monterey_bay.rgn" "$work/host24k.lst" 24000 >/dev/null
"$host_bin/velinst" packlist100k "$source/examples/monterey_bay.rgn" "$work/host100k.lst" 100000 >/dev/null
expect cells_24k "$(wc -l <"$work/host24k.lst" | tr -d ' ')"
expect sheets_100k "$(wc -l <"$work/host100k.lst" | tr -d ' ')"
cmp -s "$work/host24k.lst" "$work/install/maps/pack24k.lst" || fail "the 1:24,000 list differs from the host's"
cmp -s "$work/host100k.lst" "$work/install/maps/pack100k.lst" || fail "the 1:100,000 list differs from the host's"

expect font_name "$("$host_bin/velinst" fontname "$font" | cut -d' ' -f2-)"
expect service "127.0.0.1:$port"
expect user_name "$user"

# The account as the service holds it, read on the host: the Latin-1 texts
# arrive in their UTF-8 form.
export VELINST_REGISTRY_DIR="$work/registry"
"$host_bin/velinst" reg set 'HKLM\Software\Corvane\Ridgeline Professional\6.00\URL\RidgelineMobile\server' @ "127.0.0.1:$port" >/dev/null
login=$("$host_bin/velinst" rdb-login "$user" "$password" || true)
echo "$login" | grep -qx 'result: 0' || fail "the user cannot sign in on the host: $login"
token=$(echo "$login" | sed -n 's/^token: //p')
"$host_bin/velinst" rdb-user-info "$token" "$(value user_id)" >"$work/user-info" || true
"$host_bin/velinst" rdb-account "$token" "NSIS-$arch" >"$work/account" || true
for text in "result: 0" "Zoë" "O'Neil-Müller" "zoe+$arch@mail.test" "+1 (555) 010-0199"; do
  grep -qF "$text" "$work/user-info" || fail "the user's details lack '$text': $(cat "$work/user-info")"
done
for text in "result: 0" "Renée Dubois" "renee+maps-$arch@mail.test"; do
  grep -qF "$text" "$work/account" || fail "the account lacks '$text': $(cat "$work/account")"
done
echo "nsis $arch: installer built and ran; results, files and the account check out"
