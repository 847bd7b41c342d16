#!/usr/bin/env bash
# Prints through a private cupsd with a cups-pdf queue and reads the PDFs it makes back.
# Usage: cups_print_test.sh PRINT_CUPS_PRINTER_EXECUTABLE
set -u
here=$(cd "$(dirname "$0")" && pwd)
exe=$1
source "$here/cups_harness.sh"

queue=wenoglad-test-$$
refusing=wenoglad-refusing-$$
margins=wenoglad-margins-$$
options=wenoglad-options-$$
stopped=wenoglad-stopped-$$
cups_start
cups_add_pdf_queue "$queue"
cups_add_pdf_queue "$refusing"
# A4 that may not be printed on 18 points left, 36 right and top, 54 at the bottom.
sed 's|^\*ImageableArea A4/A4: .*|*ImageableArea A4/A4: "18 54 559 806"|' \
  /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd >"$CUPS_TMP/margins.ppd"
cups_add_pdf_queue "$margins" "$CUPS_TMP/margins.ppd"
# A driver with input trays and two-sided printing besides cups-pdf's own options.
awk '/^\*OpenUI \*Resolution/ {
  print "*OpenUI *InputSlot/Media Source: PickOne"
  print "*OrderDependency: 20 AnySetup *InputSlot"
  print "*DefaultInputSlot: Auto"
  print "*InputSlot Auto/Automatic: \"\""
  print "*InputSlot Tray1/Tray 1: \"\""
  print "*InputSlot Manual/Manual Feed: \"\""
  print "*CloseUI: *InputSlot"
  print "*OpenUI *Duplex/Two-Sided: PickOne"
  print "*OrderDependency: 20 AnySetup *Duplex"
  print "*DefaultDuplex: None"
  print "*Duplex None/Off: \"\""
  print "*Duplex DuplexNoTumble/Long Edge: \"\""
  print "*Duplex DuplexTumble/Short Edge: \"\""
  print "*CloseUI: *Duplex"
} { print }' /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd >"$CUPS_TMP/options.ppd"
cups_add_pdf_queue "$options" "$CUPS_TMP/options.ppd"
cups_add_pdf_queue "$stopped"
cupsdisable -r "media-empty" "$stopped"
lpadmin -d "$queue" || cups_fail "lpadmin could not make $queue the default"
lpadmin -p "$refusing" -o print-color-mode-default=monochrome
cupsreject "$refusing"

fail=0
check() { # check DESCRIPTION COMMAND...: runs the command, reports a failure
  if ! "${@:2}"; then
    echo "FAIL: $1"
    fail=1
  fi
}

jobtmp="$CUPS_TMP/jobtmp"
mkdir -p "$jobtmp"
check "printing" env TMPDIR="$jobtmp" WENOGLAD_CUPS_QUEUE="$queue" WENOGLAD_CUPS_REFUSING="$refusing" \
  WENOGLAD_CUPS_MARGINS="$margins" WENOGLAD_CUPS_OPTIONS="$options" WENOGLAD_CUPS_STOPPED="$stopped" \
  "$exe" --gtest_filter='CupsPrinter.*'

# The abandoned and refused jobs never reach a queue.
out=$(cups_pdf_dir "$queue")
check "the queue's PDFs" cups_wait_pdfs "$queue" 2
check "the margins queue's PDFs" cups_wait_pdfs "$margins" 2
check "the options queue's PDF" cups_wait_pdfs "$options" 1
check "exactly two PDFs in $out: $(ls "$out" | tr "\n" " ")" test "$(find "$out" -name '*.pdf' | wc -l)" -eq 2
check "no PDF from the refusing queue" test -z "$(ls "$(cups_pdf_dir "$refusing")")"
two=$(find "$out" -name 'wenoglad-two-sheets*.pdf' | head -n 1)
land=$(find "$out" -name 'wenoglad-landscape*.pdf' | head -n 1)
check "the two-sheet job's PDF" test -n "$two"
check "the landscape job's PDF" test -n "$land"

# What the program sent: five jobs, the first two with their text in order.
mapfile -t sent < <(cups_sent_files)
check "five documents reached the server: ${sent[*]}" test "${#sent[@]}" -eq 5
if [ "${#sent[@]}" -eq 5 ]; then
  check "the first sheet's text" grep -q "Arkusz pierwszy" <(pdftotext -f 1 -l 1 "${sent[0]}" -)
  check "the second sheet's text" grep -q "Arkusz drugi" <(pdftotext -f 2 -l 2 "${sent[0]}" -)
  check "the landscape sheet's text" grep -q "Poziomo" <(pdftotext "${sent[1]}" -)
fi

# The options each job reached its filters with (cupsd logs them at LogLevel debug).
has_option() { # has_option JOB OPTION
  grep -s "\[Job $1\] argv\[5\]=" "$CUPS_TMP/log/error_log" | head -n 1 | grep -q -E "[\" ]$2[\" ]"
}
check "job 1 in colour" has_option 1 print-color-mode=color
check "job 1 portrait" has_option 1 orientation-requested=3
check "job 2 in black and white" has_option 2 print-color-mode=monochrome
check "job 2 landscape" has_option 2 orientation-requested=4
# The job sent with options chosen in the program's terms, and the paper the queue printed it on.
optjob=$(lpstat -W completed -o "$options" | sed -n "s/^$options-\([0-9]*\) .*/\1/p" | head -n 1)
check "the options queue's job: $(lpstat -W completed -o "$options")" test -n "$optjob"
check "the chosen paper" has_option "$optjob" media=iso_a3_297x420mm
check "the chosen resolution" has_option "$optjob" "printer-resolution=600(x600)?dpi"
check "the chosen colour mode" has_option "$optjob" print-color-mode=monochrome
check "the chosen sides" has_option "$optjob" sides=two-sided-long-edge
check "the chosen tray" has_option "$optjob" media-source=tray-1
optpdf=$(find "$(cups_pdf_dir "$options")" -name '*.pdf' | head -n 1)
check "an A3 page in $optpdf: $(pdfinfo "$optpdf" 2>&1 | grep 'Page size')" \
  grep -q -E "Page size: +842(\.[0-9]+)? x 1191" <(pdfinfo "$optpdf")

pages() { pdfinfo "$1" | sed -n 's/^Pages: *//p'; }
[ -n "$two" ] && check "two sheets in $two" test "$(pages "$two")" = 2
[ -n "$land" ] && check "one sheet in $land" test "$(pages "$land")" = 1
check "the sheets' order, orientation and margins" env TMPDIR="$jobtmp" WENOGLAD_CUPS_OUTPUT="$out" \
  WENOGLAD_CUPS_MARGINS_OUTPUT="$(cups_pdf_dir "$margins")" \
  "$exe" --gtest_filter='CupsOutput.*'
if [ -n "${WENOGLAD_CUPS_KEEP:-}" ]; then
  cp "$out"/*.pdf "$WENOGLAD_CUPS_KEEP"/
fi
exit $fail
