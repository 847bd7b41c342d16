#!/usr/bin/env bash
# wenoglad-cli print through a private cupsd with a cups-pdf queue: every mode, manual two-sided
# printing with the turn answered on a terminal, copies; the sheets the server received are read
# back page by page and half by half.
# Usage: cli_print_test.sh WENOGLAD_CLI PRINTOUT (a printout whose pages say "Strona N")
set -u
here=$(cd "$(dirname "$0")" && pwd)
cli=$1
printout=$2
source "$here/cups_harness.sh"

queue=wenoglad-cli-$$
cups_start
# A printer that prints both sides unless a job asks for one: every job, and each pass of manual
# two-sided printing above all, has to ask.
cups_add_pdf_queue "$queue" "$(cups_duplex_ppd)"

fail=0
jobs=0
expect() { # expect DESCRIPTION WANTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1: expected \"$2\", got \"$3\""
    fail=1
  fi
}

# The page numbers on each sheet of a PDF: "3" for a portrait sheet, "2,7" for the halves of a
# landscape one ("_" for a blank half), sheets separated by blanks.
sheets() {
  local pdf=$1 n w h k out=() left right
  n=$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')
  for ((k = 1; k <= n; k++)); do
    read -r w h < <(pdfinfo -f "$k" -l "$k" "$pdf" | sed -n 's/^Page.*size: *\([0-9.]*\) x \([0-9.]*\).*/\1 \2/p')
    w=${w%.*}
    h=${h%.*}
    number() { pdftotext -f "$k" -l "$k" "$@" "$pdf" - | grep -o 'Strona [0-9]*' | head -n 1 | cut -d' ' -f2; }
    if [ "$w" -gt "$h" ]; then
      left=$(number -x 0 -y 0 -W $((w / 2)) -H "$h")
      right=$(number -x $((w / 2)) -y 0 -W $((w / 2)) -H "$h")
      out+=("${left:-_},${right:-_}")
    else
      left=$(number)
      out+=("${left:-_}")
    fi
  done
  echo "${out[*]}"
}

# print DESCRIPTION "SHEETS OF EACH JOB, / BETWEEN JOBS" OPTIONS...: prints and checks what arrived.
print() {
  local description=$1 wanted=$2 got=() before sent
  shift 2
  before=$jobs
  jobs=$((jobs + $(awk -F/ '{print NF}' <<<"$wanted")))
  # The turn of the sheets is answered with Enter on a terminal, as a user would.
  if ! printf '\n\n\n\n' | script -qec "$(printf '%q ' "$cli" print "$printout" -d "$queue" "$@")" /dev/null \
    >"$CUPS_TMP/cli.out" 2>&1; then
    echo "FAIL: $description: wenoglad-cli print failed:"
    cat "$CUPS_TMP/cli.out"
    fail=1
    return
  fi
  cups_wait_pdfs "$queue" "$jobs" || { fail=1; return; }
  mapfile -t sent < <(cups_sent_files)
  for ((k = before; k < ${#sent[@]}; k++)); do
    got+=("$(sheets "${sent[$k]}")")
  done
  local joined
  joined=$(printf '%s / ' "${got[@]}")
  expect "$description" "$wanted" "${joined% / }"
}

print "one-sided, reversed" "3 2 1" --strony 1-3 --odwrotnie
print "reduced" "1,2 3,_" --strony 1-3 --tryb zmniejszone
print "reduced two-sided, 5 pages padded to 8" "3,4 _,_ / 1,2 5,_" --strony 1-5 --tryb zmniejszone --dwustronnie
print "booklet of 8" "2,7 4,5 / 8,1 6,3" --strony 1-8 --tryb ksiazeczka
print "two-sided, reversed" "2 4 / 3 1" --strony 1-4 --dwustronnie --odwrotnie
# Pages sent as image bands carry no text: each sheet holds at least twenty band images instead.
print "two copies in bands" "_ _ / _ _" --strony 1-2 --kopie 2 --bitmapa
last=$(cups_sent_files | tail -n 1)
bands=$(pdfimages -list "$last" | tail -n +3 | wc -l)
[ "$bands" -ge 40 ] || { echo "FAIL: two sheets in bands hold $bands images"; fail=1; }

# Ctrl+D at the turn of the sheets stops the whole print: the first pass of copy 1 stays with the
# server, no other copy begins, exit code 3. (It stopped only that copy; copy 2's first pass followed.)
printf '\004' | script -qec "$(printf '%q ' "$cli" print "$printout" -d "$queue" --strony 1-4 --dwustronnie --kopie 3)" \
  /dev/null >"$CUPS_TMP/cli.out" 2>&1
expect "Ctrl+D at the turn exits with 3" 3 $?
jobs=$((jobs + 1))
cups_wait_pdfs "$queue" "$jobs" || fail=1
expect "only copy 1's first pass was sent" "$jobs" "$(cups_sent_files | wc -l)"
expect "the pass sent" "2 4" "$(sheets "$(cups_sent_files | tail -n 1)")"

# Margins that leave half a sheet no room are refused before anything is sent (the pages came out
# squeezed and mirrored).
"$cli" print "$printout" -d "$queue" --tryb zmniejszone --margins 80,15,80,25 >"$CUPS_TMP/cli.out" 2>&1
expect "half-sheet margins exit with 2" 2 $?
grep -q "nie zostawiają miejsca na stronę w połowie arkusza" "$CUPS_TMP/cli.out" ||
  { echo "FAIL: no message for half-sheet margins: $(cat "$CUPS_TMP/cli.out")"; fail=1; }
expect "nothing was sent for them" "$jobs" "$(cups_sent_files | wc -l)"

# Every job asked for one side (the page log names the sides each job reached the server with).
expect "one side for every job" "$(yes one-sided | head -n "$jobs" | tr '\n' ' ')" "$(cups_job_sides | tr '\n' ' ')"

# A printer that prints both sides itself: one job of the sheet sides in the order it needs (the
# booklet's as `pdf --tryb ksiazeczka` writes them), with the sides and copies asked of it; nobody
# turns anything, so no terminal is needed.
job_arg() { # job_arg JOB N: the filters' argument N of the server's job JOB
  grep -s "\[Job $1\] argv\[$2\]=" "$CUPS_TMP/log/error_log" | head -n 1 | sed 's/.*argv\[[0-9]*\]=//; s/^"//; s/"$//'
}
auto() { # auto DESCRIPTION SHEETS SIDES COPIES OPTIONS...
  local description=$1 wanted=$2 sides=$3 copies=$4 id
  shift 4
  "$cli" print "$printout" -d "$queue" --dwustronnie-auto "$@" </dev/null >"$CUPS_TMP/cli.out" 2>&1
  expect "$description: exit code ($(cat "$CUPS_TMP/cli.out"))" 0 $?
  jobs=$((jobs + 1))
  cups_wait_pdfs "$queue" "$jobs" || { fail=1; return; }
  expect "$description" "$wanted" "$(sheets "$(cups_sent_files | tail -n 1)")"
  expect "$description: sides" "$sides" "$(cups_job_sides | tail -n 1)"
  id=$(lpstat -W completed -o "$queue" | sed -n "s/^$queue-\([0-9]*\) .*/\1/p" | sort -n | tail -n 1)
  expect "$description: copies" "$copies" "$(job_arg "$id" 4)"
}
auto "booklet by the printer" "8,1 2,7 6,3 4,5" two-sided-short-edge 1 --strony 1-8 --tryb ksiazeczka
auto "two-sided by the printer, reversed" "3 _ 1 2" two-sided-long-edge 1 --strony 1-3 --odwrotnie
auto "two copies by the printer" "1 2" two-sided-long-edge 2 --strony 1-2 --kopie 2
grep -q "multiple-document-handling=separate-documents-collated-copies" <(job_arg "$(lpstat -W completed -o "$queue" |
  sed -n "s/^$queue-\([0-9]*\) .*/\1/p" | sort -n | tail -n 1)" 5) || { echo "FAIL: the copies are not collated"; fail=1; }
plain=wenoglad-cli-plain-$$
cups_add_pdf_queue "$plain"
"$cli" print "$printout" -d "$plain" --dwustronnie-auto </dev/null >"$CUPS_TMP/cli.out" 2>&1
expect "a queue without a duplex unit refuses with 2" 2 $?
grep -q "nie drukuje dwustronnie" "$CUPS_TMP/cli.out" || { echo "FAIL: no message: $(cat "$CUPS_TMP/cli.out")"; fail=1; }
expect "nothing was sent to it" "$jobs" "$(cups_sent_files | wc -l)"

# Two-sided printing needs the turn of the sheets answered: without a terminal nothing is printed.
"$cli" print "$printout" -d "$queue" --dwustronnie </dev/null >"$CUPS_TMP/cli.out" 2>&1
expect "two-sided without a terminal exits with 2" 2 $?
expect "nothing more was sent" "$jobs" "$(cups_sent_files | wc -l)"
"$cli" print "$printout" -d "no-such-queue-$$" >"$CUPS_TMP/cli.out" 2>&1
expect "an unknown queue exits with 2" 2 $?
grep -q "nie ma drukarki" "$CUPS_TMP/cli.out" || { echo "FAIL: no message for an unknown queue"; fail=1; }

# A stopped queue takes the job and holds it: the command says so on standard error, exit code 0.
cupsdisable "$plain"
"$cli" print "$printout" -d "$plain" --strony 1 </dev/null >"$CUPS_TMP/cli.out" 2>"$CUPS_TMP/cli.err"
expect "a job held by a stopped queue exits with 0" 0 $?
grep -q "czeka w kolejce drukarki \"$plain\".*drukarka jest wstrzymana" "$CUPS_TMP/cli.err" ||
  { echo "FAIL: no warning for the stopped queue: $(cat "$CUPS_TMP/cli.err")"; fail=1; }
cancel -a "$plain" 2>/dev/null

if [ -n "${WENOGLAD_CUPS_KEEP:-}" ]; then
  cp $(cups_sent_files) "$WENOGLAD_CUPS_KEEP"/
fi
exit $fail
