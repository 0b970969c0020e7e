#!/usr/bin/env bash
# qiva-rsrc as its users run it: build, dump, import, export, exit statuses, and no output file after an error.
set -u
tool="$1"
source "$(dirname "${BASH_SOURCE[0]}")/private_env.sh"
failures=0
passes=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { passes=$((passes + 1)); }

cat > "$work/a.qrs" <<'EOF'
resource 'STR#' 128 name "Messages" { string "Bonjour, ça va ?" string "Fin" }
resource 'DITL' 128 {
    button rect 10 20 30 80 text "OK"
    static rect 40 20 60 280 text "^0" disabled
}
EOF
cat > "$work/b.qrs" <<'EOF'
resource 'ALRT' 128 { bounds 40 40 120 320 stages 0x5555 }
resource 'PICT' 5 { hex "0011 02FF" }
EOF

# build from two sources, then dump and build the dump again: the same file, byte for byte
if "$tool" build "$work/a.qrs" "$work/b.qrs" -o "$work/x.rsr" && [ -s "$work/x.rsr" ]; then pass; else fail "build"; fi
"$tool" dump "$work/x.rsr" > "$work/x.qrs" || fail "dump"
if grep -q '^resource .STR#. 128 name "Messages" {$' "$work/x.qrs" && grep -q 'string "Bonjour, ça va ?"' "$work/x.qrs" \
   && grep -q "^# 'PICT' 5: 4 bytes$" "$work/x.qrs"; then pass; else fail "dump content"; cat "$work/x.qrs"; fi
"$tool" build "$work/x.qrs" -o "$work/y.rsr" || fail "build the dump"
if cmp -s "$work/x.rsr" "$work/y.rsr"; then pass; else fail "dump then build differs"; fi

# export to the classic layout and import back: the same resources
"$tool" export "$work/x.rsr" -o "$work/classic.rsrc" || fail "export"
"$tool" import "$work/classic.rsrc" -o "$work/z.rsr" || fail "import"
if cmp -s "$work/x.rsr" "$work/z.rsr"; then pass; else fail "export then import differs"; fi
if diff <("$tool" dump --classic "$work/classic.rsrc") "$work/x.qrs" > /dev/null; then pass; else fail "dump --classic"; fi
if "$tool" dump "$work/classic.rsrc" > /dev/null 2>&1; then fail "a classic file read as ours"; else pass; fi

# colour icons: dumped with --images as PNG files the cicn converter makes the same bytes from
icon_dir="$(dirname "${BASH_SOURCE[0]}")/../../resources/WINIT/art"
printf "resource 'cicn' 2 { from cicn \"%s/cicn2_caution.png\" dither no }\nresource 'cicn' -3 { hex \"0000\" }\n" \
    "$icon_dir" > "$work/icons.qrs"
"$tool" build "$work/icons.qrs" -o "$work/icons.rsr" || fail "build icons"
mkdir -p "$work/dumped"
(cd "$work/dumped" && "$tool" dump "$work/icons.rsr" --images art > icons.qrs) || fail "dump --images"
if grep -q "from cicn \"art/cicn2.png\" dither no" "$work/dumped/icons.qrs" && [ -s "$work/dumped/art/cicn2.png" ] \
   && grep -q 'hex "0000"' "$work/dumped/icons.qrs"; then pass; else fail "cicn dump: $(cat "$work/dumped/icons.qrs")"; fi
"$tool" build "$work/dumped/icons.qrs" -o "$work/icons2.rsr" || fail "build the icon dump"
if cmp -s "$work/icons.rsr" "$work/icons2.rsr"; then pass; else fail "cicn dump then build differs"; fi
if "$tool" dump "$work/icons.rsr" | grep -q "from cicn"; then fail "cicn as image without --images"; else pass; fi

# errors: status 1, the file and line on standard error, and no output file
printf 'resource %s 1 {\n    button rect 1 2 3\n}\n' "'DITL'" > "$work/bad.qrs"
err=$("$tool" build "$work/a.qrs" "$work/bad.qrs" -o "$work/bad.rsr" 2>&1 >/dev/null); status=$?
if [ "$status" -eq 1 ] && [[ "$err" == *"bad.qrs:2: rect needs four numbers"* ]] && [ ! -e "$work/bad.rsr" ] \
   && [ ! -e "$work/bad.rsr.partial" ]; then pass; else fail "bad source: status $status, '$err'"; fi
err=$("$tool" build "$work/a.qrs" "$work/a.qrs" -o "$work/dup.rsr" 2>&1 >/dev/null); status=$?
if [ "$status" -eq 1 ] && [[ "$err" == *"a.qrs:1: 'STR#' 128 is already defined at "*"a.qrs:1"* ]] && [ ! -e "$work/dup.rsr" ]; then
    pass; else fail "duplicate: status $status, '$err'"; fi
head -c 30 "$work/x.rsr" > "$work/cut.rsr"
err=$("$tool" dump "$work/cut.rsr" 2>&1 >/dev/null); status=$?
if [ "$status" -eq 1 ] && [[ "$err" == *"cut.rsr: the map lies outside the file"* ]]; then pass; else fail "cut file: $status '$err'"; fi
"$tool" frobnicate > /dev/null 2>&1; status=$?
if [ "$status" -eq 2 ]; then pass; else fail "unknown command: status $status"; fi
"$tool" build "$work/a.qrs" > /dev/null 2>&1; status=$?
if [ "$status" -eq 2 ]; then pass; else fail "build without -o: status $status"; fi
if "$tool" --help | grep -q "text: UTF-8 text file"; then pass; else fail "--help lists the converters"; fi

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
