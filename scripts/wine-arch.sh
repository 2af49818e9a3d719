#!/usr/bin/env bash
# Says which Windows build runs the tests under Wine on this machine: 32 (the
# shipped 32-bit module under 32-bit Wine) where the kernel runs 32-bit x86
# code itself, 64 (the 64-bit build under 64-bit Wine) where it cannot. The
# answer goes to standard output, the reason to standard error. Wine is never
# run under an emulator of the processor: where i386 programs are handed to
# one (binfmt_misc, as qemu-user-static sets up), the answer is 64.
# LOOMVANE_WINE_BITS=32 or 64 overrides the choice.
set -euo pipefail
cd "$(dirname "$0")/.."

say() { echo "$1"; echo "Under Wine: the $1-bit build, in $1-bit Wine, because $2" >&2; exit 0; }

case "${LOOMVANE_WINE_BITS:-}" in
  32 | 64) say "$LOOMVANE_WINE_BITS" "chosen by LOOMVANE_WINE_BITS" ;;
  "") ;;
  *) echo "LOOMVANE_WINE_BITS must be 32 or 64, not '$LOOMVANE_WINE_BITS'" >&2; exit 2 ;;
esac

# An i386 ELF header as binfmt_misc matches it (qemu's pattern).
i386_magic=7f454c4601010100000000000000000002000300
for entry in /proc/sys/fs/binfmt_misc/*; do
  [ -f "$entry" ] || continue
  if grep -qx enabled "$entry" && grep -q "^magic $i386_magic" "$entry"; then
    say 64 "i386 programs are handed to an emulator here ($(sed -n 's/^interpreter //p' "$entry"))"
  fi
done

# A 96-byte i386 program: asks for the local descriptor table, which 32-bit
# Wine needs, and exits with 42 when the kernel gave it. Where the kernel runs
# no 32-bit code, starting it fails with "Exec format error".
mkdir -p build
probe=build/.i386-probe
printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'\
'\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'\
'\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00'\
'\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08'\
'\x00\x80\x04\x08\x6d\x00\x00\x00\x6d\x00\x00\x00\x05\x00\x00\x00'\
'\x00\x10\x00\x00'\
'\xb8\x7b\x00\x00\x00\x31\xdb\x31\xc9\x31\xd2\xcd\x80\x89\xc3\x83\xc3\x2a'\
'\xb8\x01\x00\x00\x00\xcd\x80' >"$probe"
chmod +x "$probe"
set +e
error=$("$probe" 2>&1)
status=$?
set -e
rm -f "$probe"
case $status in
  42) say 32 "this machine runs 32-bit x86 code itself" ;;
  126) say 64 "this machine runs no 32-bit x86 code (${error##*: })" ;;
  *) say 64 "32-bit programs run here, but without the local descriptor table 32-bit Wine needs (status $status)" ;;
esac
