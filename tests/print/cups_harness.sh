# A private CUPS for print tests; source it from a test script (bash).
#
#   cups_start                 starts cupsd under a temporary folder and exports CUPS_SERVER; on
#                              failure prints why and exits with $CUPS_SKIP (ctest's skip code)
#   cups_add_pdf_queue NAME [PPD]
#                              adds a cups-pdf queue NAME (with cups-pdf's PPD or the one given)
#                              whose PDFs land in $(cups_pdf_dir NAME)
#   cups_pdf_dir NAME          the folder of queue NAME's PDFs
#   cups_duplex_ppd            writes a cups-pdf PPD whose printer prints both sides by default and
#                              prints its path
#   cups_job_sides             the sides each finished job reached the server with ("-" for none),
#                              one line a job in the order they finished (from the page log)
#   cups_wait_pdfs NAME N      waits until no job is pending and NAME's folder holds N PDFs
#   cups_sent_files            the documents the server received, oldest job first (kept after
#                              printing): what the program sent, text and all, whereas the PDFs
#                              cups-pdf makes have been through PostScript and keep no text
#   cups_stop                  stops the daemon and removes everything; cups_start sets it as the
#                              EXIT trap, so it runs on every path
#
# Nothing of the machine's own CUPS is used or changed: the daemon has its own configuration,
# spool, cache, state, logs and a socket in the temporary folder, and clients reach it through
# CUPS_SERVER. The one exception is forced by cups-pdf, which reads its settings only from
# /etc/cups/cups-pdf-NAME.conf: the queue's file is written there and removed by cups_stop.
#
# Running as root works without User/Group settings: cupsd runs its filters as its User (lp by
# default), so the temporary folder is made traversable for others, and the backends that others
# may not run (cups-pdf is mode 0700) as root; cups-pdf then writes its PDFs as the job's user.
# A4 is set as the default paper, which cupsd otherwise takes from the locale (Letter under C).

CUPS_SKIP=${CUPS_SKIP:-77}
CUPS_TMP=
CUPS_PID=
CUPS_CONFS=()

cups_fail() {
  echo "SKIP: $*"
  exit "$CUPS_SKIP"
}

cups_stop() {
  if [ -n "$CUPS_PID" ]; then
    kill "$CUPS_PID" 2>/dev/null
    local i
    for ((i = 0; i < 100; i++)); do
      kill -0 "$CUPS_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$CUPS_PID" 2>/dev/null
    wait "$CUPS_PID" 2>/dev/null
    CUPS_PID=
  fi
  local conf
  for conf in "${CUPS_CONFS[@]}"; do
    rm -f "$conf"
  done
  CUPS_CONFS=()
  if [ -n "$CUPS_TMP" ] && [ -d "$CUPS_TMP" ]; then
    if [ -n "${CUPS_KEEP_LOGS:-}" ]; then
      cp -r "$CUPS_TMP/log" "$CUPS_KEEP_LOGS" 2>/dev/null
    fi
    rm -rf "$CUPS_TMP"
  fi
  CUPS_TMP=
}

cups_start() {
  command -v cupsd >/dev/null || cups_fail "cupsd is not installed (package cups-daemon)"
  command -v lpadmin >/dev/null || cups_fail "lpadmin is not installed (package cups-client)"
  [ -x /usr/lib/cups/backend/cups-pdf ] || cups_fail "the cups-pdf backend is not installed (printer-driver-cups-pdf)"
  [ -w /etc/cups ] || cups_fail "cups-pdf needs its queue's settings in /etc/cups, which is not writable here"
  trap cups_stop EXIT
  trap 'exit 130' INT TERM
  CUPS_TMP=$(mktemp -d "${TMPDIR:-/tmp}/wenoglad-cups.XXXXXX") || cups_fail "no temporary folder"
  chmod 0755 "$CUPS_TMP"
  mkdir -p "$CUPS_TMP"/{etc/ppd,spool/tmp,cache,state,log,out,pdf-spool}
  chmod 0755 "$CUPS_TMP/out"
  cat >"$CUPS_TMP/etc/cupsd.conf" <<EOF
Listen $CUPS_TMP/cupsd.sock
LogLevel debug
DefaultPaperSize A4
MaxLogSize 0
Browsing No
WebInterface No
DefaultAuthType None
JobRetryLimit 0
ErrorPolicy abort-job
PreserveJobHistory Yes
PreserveJobFiles Yes
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
EOF
  cat >"$CUPS_TMP/etc/cups-files.conf" <<EOF
ServerRoot $CUPS_TMP/etc
RequestRoot $CUPS_TMP/spool
TempDir $CUPS_TMP/spool/tmp
CacheDir $CUPS_TMP/cache
StateDir $CUPS_TMP/state
AccessLog $CUPS_TMP/log/access_log
ErrorLog $CUPS_TMP/log/error_log
PageLog $CUPS_TMP/log/page_log
SystemGroup root
FileDevice No
Sandboxing Relaxed
EOF
  cupsd -f -c "$CUPS_TMP/etc/cupsd.conf" -s "$CUPS_TMP/etc/cups-files.conf" \
    >"$CUPS_TMP/log/cupsd.out" 2>&1 &
  CUPS_PID=$!
  export CUPS_SERVER="$CUPS_TMP/cupsd.sock"
  local i
  for ((i = 0; i < 100; i++)); do
    if ! kill -0 "$CUPS_PID" 2>/dev/null; then
      CUPS_PID=
      cups_fail "cupsd did not start: $(cat "$CUPS_TMP/log/cupsd.out" 2>/dev/null; grep -s '^E ' "$CUPS_TMP/log/error_log" | tail -n 2)"
    fi
    [ -S "$CUPS_SERVER" ] && lpstat -r >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  cups_fail "cupsd did not answer on $CUPS_SERVER within 10 s"
}

cups_pdf_dir() {
  echo "$CUPS_TMP/out/$1"
}

cups_add_pdf_queue() {
  local name=$1 ppd=${2:-/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd} conf="/etc/cups/cups-pdf-$1.conf"
  [ -e "$conf" ] && cups_fail "$conf exists already; not overwriting it"
  mkdir -p "$CUPS_TMP/out/$name"
  chmod 0777 "$CUPS_TMP/out/$name"
  CUPS_CONFS+=("$conf")
  cat >"$conf" <<EOF
Out $CUPS_TMP/out/$name
Spool $CUPS_TMP/pdf-spool
Log $CUPS_TMP/log
LogType 3
TitlePref 1
Grp root
GSCall %s -q -dCompatibilityLevel=%s -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -sOutputFile="%s" -dAutoRotatePages=/None -c -f %s
EOF
  # The sheets keep the way CUPS laid them on the paper (a landscape sheet turned onto upright A4),
  # as a printer would print them: Ghostscript is told not to turn pages after their text.
  local said
  said=$(lpadmin -p "$name" -E -v "cups-pdf:/$name" -P "$ppd" -o printer-is-shared=false 2>&1) ||
    cups_fail "lpadmin could not add the queue $name: $said"
}

# Waits at most 60 s until the server has no job left and NAME's folder holds N PDF files;
# returns 1 with the server's last log lines when they do not come.
cups_wait_pdfs() {
  local name=$1 want=$2 i have
  for ((i = 0; i < 600; i++)); do
    have=$(find "$CUPS_TMP/out/$name" -name '*.pdf' | wc -l)
    if [ -z "$(lpstat -o 2>/dev/null)" ] && [ "$have" -ge "$want" ]; then
      return 0
    fi
    sleep 0.1
  done
  echo "FAIL: queue $name made $have PDF(s), expected $want, within 60 s; jobs: $(lpstat -o 2>&1)"
  tail -n 20 "$CUPS_TMP/log/error_log"
  return 1
}

cups_duplex_ppd() {
  awk '/^\*OpenUI \*Resolution/ {
    print "*OpenUI *Duplex/Two-Sided: PickOne"
    print "*OrderDependency: 20 AnySetup *Duplex"
    print "*DefaultDuplex: DuplexNoTumble"
    print "*Duplex None/Off: \"\""
    print "*Duplex DuplexNoTumble/Long Edge: \"\""
    print "*Duplex DuplexTumble/Short Edge: \"\""
    print "*CloseUI: *Duplex"
  } { print }' /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd >"$CUPS_TMP/duplex.ppd"
  echo "$CUPS_TMP/duplex.ppd"
}

# The page log's default format ends each line with the job's sides attribute.
cups_job_sides() {
  awk '{ print $NF }' "$CUPS_TMP/log/page_log" 2>/dev/null
}

cups_sent_files() {
  find "$CUPS_TMP/spool" -maxdepth 1 -name 'd*-001' | sort
}
