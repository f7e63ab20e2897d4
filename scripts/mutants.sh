#!/bin/sh
# Mutation check: puts one plausible fault at a time into the sources, rebuilds
# the host preset incrementally and runs the host suite. A fault the suite
# does not notice is a gap in the tests (or an equivalent change, judged by
# hand). The faults are listed in mutants.faults beside this script.
#
#   scripts/mutants.sh [FILTER]    run the faults whose id matches FILTER
#                                  (a substring or Perl regex; all if absent)
#   scripts/mutants.sh --list      list the faults
#   scripts/mutants.sh --check     only check that each fault's text is found
#                                  exactly once in its file (no build)
#
# Each fault is reported as caught, missed or invalid (it did not build, or its
# text was not found exactly once). The results also go to
# build/host/mutants.log. Every touched file is restored on any exit,
# interrupts included, and the script refuses to start while a file of its
# list has uncommitted changes. It first builds and tests the tree as committed
# (MUTANTS_CLEAN_RUN=0 skips the tests when they were just seen passing).
# After an interrupt build/host may still hold the last fault's objects; the
# restored file has a fresh time stamp, so the next build replaces them.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
top=$(git -C "$here" rev-parse --show-toplevel)
faults="$here/mutants.faults"
build="$top/build/host"
cd "$top"

usage() {
  echo "usage: $0 [--list | --check | FILTER]" >&2
  exit 2
}

mode=run
filter=
case "${1-}" in
--list) mode=list ;;
--check) mode=check ;;
--help | -h) usage ;;
-*) usage ;;
*) filter=${1-} ;;
esac
[ $# -le 1 ] || usage

work=$(mktemp -d "${TMPDIR:-/tmp}/mutants.XXXXXX")
current=     # the file that holds a fault right now, relative to $top
child=       # the build or test running now, leader of its own process group
log=

# The fault list's parser and editor. A block is
#   @ <id> <path> | <what the fault is>
#   - <original line>          (several "- " lines: consecutive lines)
#   + <replacement line>       (several "+ " lines, or one bare "+" for none)
# Texts are matched literally, never as patterns.
cat >"$work/faults.pl" <<'PERL'
use strict;
use warnings;
my ($file, $cmd, $arg) = @ARGV;
open(my $in, '<', $file) or die "cannot read $file: $!\n";
my (@faults, %seen, $f);
while (my $line = <$in>) {
  chomp $line;
  if ($line =~ /^@\s+(\S+)\s+(\S+)\s*\|\s*(.*)$/) {
    die "$file:$.: fault id $1 given twice\n" if $seen{$1}++;
    $f = { id => $1, path => $2, what => $3, old => [], new => [], line => $. };
    push @faults, $f;
  } elsif ($line =~ /^- (.*)$/s && $f) {
    die "$file:$.: original text after its replacement\n" if @{ $f->{new} };
    push @{ $f->{old} }, $1;
  } elsif ($line =~ /^\+(?: (.*))?$/s && $f) {
    push @{ $f->{new} }, defined $1 ? $1 : '';
  } elsif ($line =~ /^\s*(#.*)?$/) {
    $f = undef;
  } else {
    die "$file:$.: not a fault line: $line\n";
  }
}
for my $x (@faults) {
  die "$file:$x->{line}: fault $x->{id} has no original or no replacement\n"
    unless @{ $x->{old} } && @{ $x->{new} };
  $x->{old} = join("\n", @{ $x->{old} });
  $x->{new} = join("\n", @{ $x->{new} });
  die "$file:$x->{line}: fault $x->{id} changes nothing\n" if $x->{old} eq $x->{new};
}
sub occurrences {
  my ($x) = @_;
  open(my $src, '<', $x->{path}) or return -1;
  local $/;
  my $text = <$src>;
  my ($n, $at) = (0, 0);
  while (($at = index($text, $x->{old}, $at)) >= 0) { $n++; $at += length $x->{old}; }
  return $n;
}
if ($cmd eq 'list') {
  for my $x (@faults) {
    next if defined $arg && $arg ne '' && $x->{id} !~ /$arg/;
    print "$x->{id}\t$x->{path}\t$x->{what}\n";
  }
  exit 0;
}
my ($x) = grep { $_->{id} eq $arg } @faults;
die "no fault $arg\n" unless $x;
if ($cmd eq 'count') {
  print occurrences($x), "\n";
} elsif ($cmd eq 'apply') {
  my $n = occurrences($x);
  exit 3 if $n != 1;
  open(my $src, '<', $x->{path}) or die "$x->{path}: $!\n";
  local $/;
  my $text = <$src>;
  close $src;
  substr($text, index($text, $x->{old}), length $x->{old}) = $x->{new};
  open(my $out, '>', $x->{path}) or die "$x->{path}: $!\n";
  print $out $text;
  close $out or die "$x->{path}: $!\n";
} else {
  die "unknown command $cmd\n";
}
PERL

faults_tool() { perl "$work/faults.pl" "$faults" "$@"; }

# Puts back the file that holds a fault and proves it clean.
restore() {
  [ -n "$current" ] || return 0
  # A fresh time stamp, so that the build notices the file changed back.
  cp "$work/backup" "$current"
  if git diff --quiet -- "$current"; then
    current=
  else
    echo "mutants: $current differs from its committed text after restoring;" \
      "its copy before the fault is $work/backup" >&2
    keep_work=1
    current=
    return 1
  fi
}

keep_work=
on_exit() {
  status=$?
  trap - EXIT INT TERM HUP
  if [ -n "$child" ]; then
    kill -TERM "-$child" 2>/dev/null || true  # the group; dash takes no "--"
    wait "$child" 2>/dev/null || true
  fi
  restore || status=1
  [ -z "$log" ] || stop_servers
  [ -n "$keep_work" ] || rm -rf "$work"
  exit "$status"
}
trap on_exit EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# Runs a command in its own process group, in the background, so that an
# interrupt reaches this shell at once (a foreground child would delay the
# trap until it ended) and the whole group can be stopped.
run() {
  out=$1
  shift
  setsid "$@" >"$out" 2>&1 </dev/null &
  child=$!
  rc=0
  wait "$child" || rc=$?
  child=
  return "$rc"
}

say() {
  echo "$*"
  [ -z "$log" ] || echo "$*" >>"$log"
}

faults_tool list "$filter" >"$work/list"

if [ "$mode" = list ]; then
  cat "$work/list"
  exit 0
fi

if [ "$mode" = check ]; then
  bad=0
  total=0
  while IFS="$(printf '\t')" read -r id path what; do
    total=$((total + 1))
    n=$(faults_tool count "$id")
    if [ "$n" -lt 0 ]; then
      echo "invalid $id: $path does not exist"
      bad=$((bad + 1))
    elif [ "$n" -ne 1 ]; then
      echo "invalid $id: text found $n times in $path"
      bad=$((bad + 1))
    fi
  done <"$work/list"
  echo "$((total - bad)) of $total faults found exactly once"
  [ "$bad" -eq 0 ]
  exit
fi

[ -s "$work/list" ] || {
  echo "mutants: no fault matches '$filter'" >&2
  exit 2
}

# Any file of the list, not only those of the chosen faults: each restore is
# checked against the committed text.
faults_tool list "" | cut -f2 | sort -u >"$work/paths"
dirty=
while read -r path; do
  [ -e "$path" ] || continue
  if ! git diff --quiet HEAD -- "$path"; then dirty="$dirty $path"; fi
done <"$work/paths"
if [ -n "$dirty" ]; then
  echo "mutants: uncommitted changes in:$dirty; commit or stash them first" >&2
  exit 2
fi

if [ ! -f "$build/build.ninja" ]; then
  run "$work/configure.out" cmake --preset host || {
    cat "$work/configure.out" >&2
    exit 1
  }
fi
log="$build/mutants.log"
: >"$log"

# A suite stopped at its first failure skips the fixtures' clean-up, which
# would leave their detached servers running: stop them after every run.
suite() {
  rc=0
  run "$work/test.out" ctest --test-dir "$build" -j2 --stop-on-failure --timeout 120 || rc=$?
  stop_servers
  return "$rc"
}
stop_servers() {
  ctest --test-dir "$build" -R '_stop$' --timeout 30 >/dev/null 2>&1 </dev/null || true
}

# The suite must pass without a fault, or every fault would count as caught.
# MUTANTS_CLEAN_RUN=0 skips this when the suite was just seen passing.
say "mutants: $(wc -l <"$work/list") faults; building and testing the tree as committed"
started=$(date +%s)
run "$work/build.out" cmake --build "$build" -j 2 || {
  cat "$work/build.out" >&2
  say "mutants: the tree as committed does not build"
  exit 1
}
if [ "${MUTANTS_CLEAN_RUN:-1}" = 0 ]; then
  say "mutants: the suite without a fault is taken as passing"
elif ! suite; then
  grep -A20 'tests FAILED' "$work/test.out" >&2 || tail -20 "$work/test.out" >&2
  say "mutants: the suite fails without any fault; fix that first"
  exit 1
fi
say "mutants: clean run $(($(date +%s) - started)) s"

caught=0
missed=0
invalid=0
while IFS="$(printf '\t')" read -r id path what; do
  started=$(date +%s)
  if [ ! -f "$path" ]; then
    say "invalid $id: $path does not exist"
    invalid=$((invalid + 1))
    continue
  fi
  cp -p "$path" "$work/backup"
  current=$path
  rc=0
  faults_tool apply "$id" || rc=$?
  if [ "$rc" -ne 0 ]; then
    restore
    say "invalid $id: text found $(faults_tool count "$id") times in $path"
    invalid=$((invalid + 1))
    continue
  fi
  if ! run "$work/build.out" cmake --build "$build" -j 2; then
    restore
    first=$(grep -m1 -E 'error' "$work/build.out" | cut -c1-160)
    say "invalid $id: did not build: $first"
    invalid=$((invalid + 1))
    continue
  fi
  if suite; then
    restore
    say "missed  $id ($(($(date +%s) - started)) s): $what"
    missed=$((missed + 1))
  else
    restore
    failed=$(sed -n '/tests FAILED/,$p' "$work/test.out" |
      sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\).*/\1/p' | tr '\n' ' ')
    say "caught  $id ($(($(date +%s) - started)) s) by ${failed:-the suite}"
    caught=$((caught + 1))
  fi
done <"$work/list"

# Leave the build as the committed tree makes it.
run "$work/build.out" cmake --build "$build" -j 2 || say "mutants: the final rebuild failed"

valid=$((caught + missed))
rate=$(awk -v c="$caught" -v v="$valid" 'BEGIN { printf "%.1f", v ? 100 * c / v : 0 }')
say "caught $caught of $valid valid faults ($rate %), $invalid invalid"
