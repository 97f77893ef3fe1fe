#!/usr/bin/env bash
# Makes sure this machine runs 32-bit x86 Linux programs (Wine's 32-bit loader is one).
# When the kernel runs them itself, nothing is done. When it refuses them, qemu's user-mode
# emulator (package qemu-user-static) is registered with binfmt_misc for i386 programs, or its
# existing registration enabled. Prints what it found; exits non-zero when neither way works.
set -euo pipefail
binfmt=/proc/sys/fs/binfmt_misc
entry="$binfmt/qemu-i386"
qemu=/usr/bin/qemu-i386-static

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The smallest i386 program: exit(42) through int 0x80.
printf '.globl _start\n_start:\n mov $1,%%eax\n mov $42,%%ebx\n int $0x80\n' >"$work/exit42.s"
as --32 -o "$work/exit42.o" "$work/exit42.s"
ld -m elf_i386 -o "$work/exit42" "$work/exit42.o"

runs() { local rc=0; "$work/exit42" 2>/dev/null || rc=$?; [ "$rc" -eq 42 ]; }

# Ask the kernel alone: an enabled emulator entry would answer in its place.
was_enabled=0
if [ -f "$entry" ] && [ "$(head -n 1 "$entry")" = enabled ]; then
  was_enabled=1
  echo 0 >"$entry"
fi
if runs; then
  [ "$was_enabled" -eq 0 ] || echo -1 >"$entry"   # the kernel runs them: the emulator is not wanted
  echo "ia32: the kernel runs 32-bit programs"
  exit 0
fi

[ -x "$qemu" ] || { echo "ia32: the kernel refuses 32-bit programs and $qemu is missing (install qemu-user-static)" >&2; exit 1; }
[ -f "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
if [ -f "$entry" ]; then
  echo 1 >"$entry"
else
  # ELF, 32-bit, little-endian, executable or shared object, machine i386; F: the emulator is
  # opened now, so it also serves other mount namespaces and chroots.
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':F' >"$binfmt/register"
fi
runs || { echo "ia32: 32-bit programs run neither natively nor under $qemu" >&2; exit 1; }
echo "ia32: the kernel refuses 32-bit programs; they run under $qemu"
