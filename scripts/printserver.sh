# A private print server for the end-to-end print test, sourced by test.sh:
# a cupsd of its own under the build folder, reached only through its Unix
# socket, with one PDF queue. The system's print service, its queues and its
# default printer are never touched.
# shellcheck shell=bash
# shellcheck disable=SC2034 # the PRINT_SERVER_ variables are read by test.sh

PRINT_SERVER_PID=
PRINT_SERVER_DIR=
PRINT_SERVER_SOCKET=
PRINT_SERVER_PDF_DIR=
PRINT_SERVER_ERROR=

# The system's default printer and queues as lpstat shows them, errors and
# exit status included: compared before and after the tests. The run's own
# server and queue names are left out so that only the machine is looked at.
system_printers() {
  local what
  for what in -d -p; do
    echo "lpstat $what:"
    env -u CUPS_SERVER -u PRINTER -u LPDEST LC_ALL=C lpstat "$what" 2>&1 || echo "(exit status $?)"
  done
}

print_server_fail() {
  PRINT_SERVER_ERROR="$*"
  stop_print_server
  return 1
}

# Starts the server in folder $1 (made anew) with the queue LumetraPDF (the
# test run names it in PRINTER; no default is set anywhere). The queue hands each job's PDF as it is to a small backend
# that stores it as <title>-job_<id>.pdf in $PRINT_SERVER_PDF_DIR: redistilling
# through PostScript (as cups-pdf does) loses the text that the test looks
# for. Clients reach the server with CUPS_SERVER=$PRINT_SERVER_SOCKET.
# Returns non-zero with the reason in PRINT_SERVER_ERROR when it cannot.
# Does not rely on `set -e`: callers test its status.
start_print_server() {
  local dir="$1"
  local sock="$dir/cups.sock"
  local cupsd=/usr/sbin/cupsd serverbin=/usr/lib/cups
  PRINT_SERVER_ERROR=

  [ -x "$cupsd" ] || { print_server_fail "$cupsd is not installed"; return 1; }
  if ! command -v lpadmin >/dev/null || ! command -v lpstat >/dev/null; then
    print_server_fail "lpadmin/lpstat are not installed"
    return 1
  fi
  # A Unix socket's path holds at most 107 bytes.
  [ "${#sock}" -lt 100 ] || { print_server_fail "socket path too long: $sock"; return 1; }

  # A server left running by an interrupted run: only ours, recognised by the
  # configuration file on its command line.
  if [ -f "$dir/cupsd.pid" ]; then
    local stale
    stale="$(cat "$dir/cupsd.pid")"
    if [ -n "$stale" ] && tr '\0' ' ' <"/proc/$stale/cmdline" 2>/dev/null | grep -F -- "$dir/cupsd.conf" >/dev/null; then
      kill "$stale" 2>/dev/null || true
      sleep 1
    fi
  fi
  if ! { rm -rf "$dir" &&
    mkdir -p "$dir/etc" "$dir/bin/backend" "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log" "$dir/pdf" &&
    chmod 0755 "$dir" "$dir/etc" "$dir/bin" "$dir/bin/backend" "$dir/pdf"; }; then
    print_server_fail "cannot make the folder $dir"
    return 1
  fi

  # The system's filters and helpers, beside our own backend.
  local sub
  for sub in filter daemon monitor notifier driver cgi-bin; do
    if [ -e "$serverbin/$sub" ]; then
      ln -s "$serverbin/$sub" "$dir/bin/$sub" || { print_server_fail "cannot link $serverbin/$sub"; return 1; }
    fi
  done
  [ -x "$dir/bin/daemon/cups-exec" ] || { print_server_fail "$serverbin/daemon/cups-exec is missing"; return 1; }

  cat >"$dir/bin/backend/lumetrapdf" <<'BACKEND'
#!/bin/sh
# Writes each job, as the filters hand it over (PDF), to <title>-job_<id>.pdf
# in the folder named by the device URI (lumetrapdf:/folder).
if [ $# -eq 0 ]; then
  echo 'file lumetrapdf "Unknown" "PDF files for the Lumetra tests"'
  exit 0
fi
dir="${DEVICE_URI#lumetrapdf:}"
title=$(printf '%s' "$3" | tr -c 'A-Za-z0-9._-' '_')
out="$dir/${title}-job_$1.pdf"
if [ -n "$6" ]; then cat "$6" > "$out.part"; else cat > "$out.part"; fi || exit 1
chmod 0644 "$out.part"
mv "$out.part" "$out"
BACKEND
  # Owner-only: a server started by root runs it as root, so that it can write
  # into the build folder; its filters run as lp.
  chmod 0700 "$dir/bin/backend/lumetrapdf"

  # A PDF printer whose one "filter" passes the PDF through unchanged.
  cat >"$dir/lumetrapdf.ppd" <<'PPD'
*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "LUMETRA.PPD"
*Manufacturer: "Generic"
*Product: "(Lumetra PDF)"
*ModelName: "Lumetra PDF"
*ShortNickName: "Lumetra PDF"
*NickName: "Lumetra PDF test printer"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*FileSystem: False
*Throughput: "8"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsFilter2: "application/pdf application/pdf 0 -"
*HWMargins: 0 0 0 0
*VariablePaperSize: True
*MaxMediaWidth: 100000
*MaxMediaHeight: 100000
*NonUIOrderDependency: 100 AnySetup *CustomPageSize
*CustomPageSize True: "pop pop pop <</PageSize [ 5 -2 roll ] /ImagingBBox null>>setpagedevice"
*End
*ParamCustomPageSize Width: 1 points 36 100000
*ParamCustomPageSize Height: 2 points 36 100000
*ParamCustomPageSize Orientation: 3 int 0 3
*ParamCustomPageSize WidthOffset: 4 points 0 0
*ParamCustomPageSize HeightOffset: 5 points 0 0
*OpenUI *PageSize/Page Size: PickOne
*OrderDependency: 100 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A3/A3: "<</PageSize[842 1191]/ImagingBBox null>>setpagedevice"
*PageSize A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*PageSize A5/A5: "<</PageSize[420 595]/ImagingBBox null>>setpagedevice"
*PageSize Letter/Letter: "<</PageSize[612 792]/ImagingBBox null>>setpagedevice"
*PageSize Legal/Legal: "<</PageSize[612 1008]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*OrderDependency: 100 AnySetup *PageRegion
*DefaultPageRegion: A4
*PageRegion A3/A3: "<</PageSize[842 1191]/ImagingBBox null>>setpagedevice"
*PageRegion A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*PageRegion A5/A5: "<</PageSize[420 595]/ImagingBBox null>>setpagedevice"
*PageRegion Letter/Letter: "<</PageSize[612 792]/ImagingBBox null>>setpagedevice"
*PageRegion Legal/Legal: "<</PageSize[612 1008]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A3/A3: "0 0 842 1191"
*ImageableArea A4/A4: "0 0 595 842"
*ImageableArea A5/A5: "0 0 420 595"
*ImageableArea Letter/Letter: "0 0 612 792"
*ImageableArea Legal/Legal: "0 0 612 1008"
*DefaultPaperDimension: A4
*PaperDimension A3/A3: "842 1191"
*PaperDimension A4/A4: "595 842"
*PaperDimension A5/A5: "420 595"
*PaperDimension Letter/Letter: "612 792"
*PaperDimension Legal/Legal: "612 1008"
*DefaultFont: Courier
*Font Courier: Standard "(002.004S)" Standard ROM
PPD

  # Root runs the filters as lp; anyone else runs everything as themselves.
  local users
  if [ "$(id -u)" -eq 0 ]; then
    users=$'User lp\nGroup lp\nLogFileGroup lp\nSystemGroup root lpadmin'
  else
    users="LogFileGroup $(id -g)"$'\n'"SystemGroup $(id -gn)"
  fi
  cat >"$dir/cups-files.conf" <<FILES
ServerRoot $dir/etc
ServerBin $dir/bin
ServerKeychain $dir/etc/ssl
CreateSelfSignedCerts no
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
Printcap $dir/printcap
FileDevice No
PeerCred on
$users
FILES
  # Its socket only, no network, no sharing, no authentication.
  cat >"$dir/cupsd.conf" <<CONF
LogLevel warn
Listen $sock
Browsing No
BrowseLocalProtocols none
DefaultShared No
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
CONF
  chmod 0644 "$dir/cups-files.conf" "$dir/cupsd.conf" "$dir/lumetrapdf.ppd"

  "$cupsd" -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 </dev/null &
  PRINT_SERVER_PID=$!
  PRINT_SERVER_DIR="$dir"
  echo "$PRINT_SERVER_PID" >"$dir/cupsd.pid"
  local ready=
  for _ in $(seq 1 50); do
    if ! kill -0 "$PRINT_SERVER_PID" 2>/dev/null; then
      print_server_fail "cupsd stopped at start: $(tail -n 3 "$dir/log/cupsd.out" "$dir/log/error_log" 2>/dev/null | tr '\n' ' ')"
      return 1
    fi
    # Some errors (a socket it cannot open) leave it running, deaf.
    if grep -q '^[EX] ' "$dir/log/error_log" 2>/dev/null; then
      print_server_fail "cupsd: $(grep '^[EX] ' "$dir/log/error_log" | head -n 2 | tr '\n' ' ')"
      return 1
    fi
    if LC_ALL=C lpstat -h "$sock" -r 2>/dev/null | grep "is running" >/dev/null; then
      ready=1
      break
    fi
    sleep 0.2
  done
  [ -n "$ready" ] || { print_server_fail "cupsd did not answer on $sock within 10 s"; return 1; }

  # -h everywhere: these commands must reach this server, never the system's.
  local out
  out="$(CUPS_SERVER="$sock" lpadmin -h "$sock" -p LumetraPDF -E -v "lumetrapdf:$dir/pdf" \
    -P "$dir/lumetrapdf.ppd" 2>&1)" || { print_server_fail "lpadmin could not add the queue: $out"; return 1; }
  LC_ALL=C lpstat -h "$sock" -p LumetraPDF 2>/dev/null | grep "enabled" >/dev/null ||
    { print_server_fail "the queue LumetraPDF is not enabled"; return 1; }

  PRINT_SERVER_SOCKET="$sock"
  PRINT_SERVER_PDF_DIR="$dir/pdf"
  return 0
}

# Stops the server started above, if any; safe to call more than once.
stop_print_server() {
  local pid="${PRINT_SERVER_PID:-}"
  [ -n "$pid" ] || return 0
  PRINT_SERVER_PID=
  kill "$pid" 2>/dev/null || true
  for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [ -z "$PRINT_SERVER_DIR" ] || rm -f "$PRINT_SERVER_DIR/cupsd.pid"
}
