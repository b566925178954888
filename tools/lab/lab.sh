#!/usr/bin/env bash
# lab.sh up|down|status|exec CMD...
# The hermetic network lab: network namespaces joined by veth pairs, with no
# link to the machine's own network. Addresses: tests/lab/lab-addresses.env.
#
#   client    198.51.100.2 --- 198.51.100.1  router  203.0.113.1 (bridge)
#                                              |-- resp  203.0.113.10-22: zvlab-responder
#                                              |-- echo  203.0.113.2: kernel echo replies
#                                              `-- loop  203.0.113.3: routing-loop partner
#
# up:     (re)builds the lab from nothing; with ZV_BUILD_DIR (a cross tree) also
#         gives it a copy of that tree's Wine prefix, served from inside the client
#         namespace. Exit 3 when this machine cannot host a lab at all.
# down:   stops what up started (by the ids it recorded, and anything left inside
#         the lab's own namespaces) and deletes the namespaces. Safe to repeat.
# status: says what is up; exit 0 when the lab is ready.
# exec:   runs CMD inside the client namespace.
# The responder is $ZV_LAB_RESPONDER, else ZV_BUILD_DIR/tools/lab/zvlab-responder.
set -euo pipefail
. "$(dirname "$(readlink -f "$0")")/lab-env.sh"

# A lab nobody takes down goes by itself after this many seconds.
LAB_LIFETIME=${ZV_LAB_LIFETIME:-3600}
LINK_MTU=9000

say() { echo "lab[$LAB]: $*" >&2; }
in_ns() { local ns=$1; shift; ip netns exec "$ns" "$@"; }
ns_exists() { [ -e "/run/netns/$1" ]; }

# Bounded wait for a condition; 50 tries of 0.1 s.
wait_for() {
  local i
  for i in $(seq 1 50); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# A recorded pid is only killed while it still runs the program we started;
# a "-" before it kills its whole process group.
kill_recorded() {
  local name=$1 expect=$2 group=${3:-} pidfile=$LAB_STATE/$1.pid pid
  [ -f "$pidfile" ] || return 0
  pid=$(cat "$pidfile")
  if [ -n "$pid" ] && grep -qa -- "$expect" "/proc/$pid/cmdline" 2>/dev/null; then
    kill -- "$group$pid" 2>/dev/null || true
  fi
  rm -f "$pidfile"
}

kill_namespace_processes() {
  local ns sig=$1 pids
  for ns in $LAB_NAMESPACES; do
    ns_exists "$ns" || continue
    pids=$(ip netns pids "$ns" 2>/dev/null || true)
    [ -n "$pids" ] && kill "-$sig" $pids 2>/dev/null || true
  done
}

namespaces_empty() {
  local ns
  for ns in $LAB_NAMESPACES; do
    ns_exists "$ns" || continue
    [ -z "$(ip netns pids "$ns" 2>/dev/null)" ] || return 1
  done
}

# Takes this lab down after its lifetime unless a newer lab of the same name
# has replaced it by then; its pid is recorded like the others.
start_reaper() {
  local token=$(date +%s%N)-$$
  echo "$token" >"$LAB_STATE/token"
  ZV_LAB_NAME=$LAB setsid bash -c 'sleep "$1"; [ "$(cat "$2/token" 2>/dev/null)" = "$3" ] && ZV_LAB_REAPING=1 exec "$4" down' \
    zvlab-reaper "$LAB_LIFETIME" "$LAB_STATE" "$token" "$(readlink -f "$0")" \
    </dev/null >/dev/null 2>&1 8>&- &
  echo $! >"$LAB_STATE/reaper.pid"
}

down() {
  if [ -n "${LAB_WINEPREFIX:-}" ] && [ -f "$LAB_WINEPREFIX/system.reg" ]; then
    (
      export ZV_WINEPREFIX=$LAB_WINEPREFIX
      . "$lab_top/tools/wine-env.sh"
      zv_wine_cmd timeout 10 wineserver -k </dev/null >/dev/null 2>&1
    ) || true
  fi
  kill_recorded responder zvlab-responder
  kill_recorded dnsmasq dnsmasq
  kill_recorded wineserver wineserver
  [ "${ZV_LAB_REAPING:-}" = 1 ] || kill_recorded reaper zvlab-reaper -
  kill_namespace_processes TERM
  wait_for namespaces_empty || { kill_namespace_processes KILL; wait_for namespaces_empty || true; }
  local ns
  for ns in $LAB_NAMESPACES; do
    ns_exists "$ns" && ip netns del "$ns"
  done
  rm -rf "/etc/netns/$NS_CLIENT" "$LAB_STATE"
}

sysctls() {
  local ns=$1; shift
  in_ns "$ns" sysctl -q -w net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1 \
    net.ipv4.icmp_ratelimit=0 net.ipv4.conf.all.rp_filter=0 \
    net.ipv4.conf.default.rp_filter=0 "$@"
}

# veth NS_A IF_A NS_B IF_B: a pair made directly inside the two namespaces.
veth() {
  ip -n "$1" link add "$2" mtu $LINK_MTU type veth peer name "$4" netns "$3" mtu $LINK_MTU
  ip -n "$1" link set "$2" up
  ip -n "$3" link set "$4" up
}

build_network() {
  local ns forward=(net.ipv4.ip_forward=1 net.ipv4.conf.all.send_redirects=0 net.ipv4.conf.default.send_redirects=0)
  for ns in $LAB_NAMESPACES; do
    ip netns add "$ns"
    ip -n "$ns" link set lo up
  done
  sysctls "$NS_CLIENT" net.ipv4.conf.all.accept_redirects=0 net.ipv4.conf.default.accept_redirects=0
  sysctls "$NS_ROUTER" "${forward[@]}"
  sysctls "$NS_LOOP" "${forward[@]}"
  sysctls "$NS_RESPONDER" net.ipv4.icmp_echo_ignore_all=1
  sysctls "$NS_ECHO"

  veth "$NS_CLIENT" c0 "$NS_ROUTER" r0
  ip -n "$NS_CLIENT" addr add "$LAB_CLIENT/28" dev c0
  ip -n "$NS_ROUTER" addr add "$LAB_ROUTER/28" dev r0
  ip -n "$NS_CLIENT" route add default via "$LAB_ROUTER"

  ip -n "$NS_ROUTER" link add br0 mtu $LINK_MTU type bridge
  ip -n "$NS_ROUTER" addr add "$LAB_ROUTER_HOSTS_SIDE/24" dev br0
  local host port
  for host in resp echo loop; do
    port=h-$host
    veth "$NS_ROUTER" "$port" "$LAB-$host" e0
    ip -n "$NS_ROUTER" link set "$port" master br0
  done
  ip -n "$NS_ROUTER" link set br0 up

  ip -n "$NS_ECHO" addr add "$LAB_KERNEL_ECHO/24" dev e0
  ip -n "$NS_LOOP" addr add 203.0.113.3/24 dev e0
  local a
  for a in $(responder_addresses); do
    ip -n "$NS_RESPONDER" addr add "$a/24" dev e0
  done
  for ns in "$NS_ECHO" "$NS_LOOP" "$NS_RESPONDER"; do
    ip -n "$ns" route add default via "$LAB_ROUTER_HOSTS_SIDE"
  done
}

kernel_answers() {
  ip -n "$NS_ROUTER" route add unreachable "$LAB_KERNEL_UNREACHABLE/32"
  ip -n "$NS_ROUTER" route add prohibit "$LAB_KERNEL_PROHIBIT/32"
  ip -n "$NS_ROUTER" route add blackhole "$LAB_KERNEL_BLACKHOLE/32"
  # The loop: each side sends the address to the other until the TTL runs out.
  ip -n "$NS_ROUTER" route add "$LAB_KERNEL_LOOP/32" via 203.0.113.3
  ip -n "$NS_LOOP" route add "$LAB_KERNEL_LOOP/32" via "$LAB_ROUTER_HOSTS_SIDE"
  # Rejected on the way to the echo host, which would drop it: silence, not a
  # wrong answer, if the rule were missing.
  ip -n "$NS_ROUTER" route add "$LAB_KERNEL_REJECT/32" via "$LAB_KERNEL_ECHO"
  in_ns "$NS_ROUTER" nft -f - <<EOF
table ip zvlab {
  chain forward {
    type filter hook forward priority 0; policy accept;
    ip daddr $LAB_KERNEL_REJECT reject
  }
}
EOF
}

responder_table() {
  cat <<EOF
$LAB_REPLY_NOW=now
$LAB_REPLY_20MS=delay:20
$LAB_REPLY_200MS=delay:200
$LAB_REPLY_700MS=delay:700
$LAB_FOREIGN_SEQ_FIRST=foreign:$LAB_FOREIGN_SEQ_GAP_MS
$LAB_UNREACHABLE=unreachable
$LAB_TIME_EXCEEDED=ttl
$LAB_REDIRECT=redirect
$LAB_BIG_REPLY=big:$LAB_BIG_REPLY_BYTES
$LAB_SILENT=silent
$LAB_UNREACHABLE_OPTIONS=unreachable-options:$LAB_UNREACHABLE_OPTION_BYTES
$LAB_FOREIGN_FLOOD=flood:$LAB_FLOOD_GAP_MS:$LAB_FLOOD_COUNT
$LAB_UNRELATED=unrelated:$LAB_UNRELATED_GAP_MS
$LAB_LOSSY=lose:$LAB_LOSSY_PERIOD:$LAB_LOSSY_COUNT
$LAB_STEPPING=step:$LAB_STEPPING_PERIOD:$LAB_STEPPING_COUNT
EOF
}

responder_addresses() { responder_table | cut -d= -f1; }

start_responder() {
  local bin=${ZV_LAB_RESPONDER:-}
  if [ -z "$bin" ] && [ -n "${ZV_BUILD_DIR:-}" ]; then
    bin=$ZV_BUILD_DIR/tools/lab/zvlab-responder
  fi
  if [ -z "$bin" ] || [ ! -x "$bin" ]; then
    say "no responder program (set ZV_LAB_RESPONDER or ZV_BUILD_DIR): ${bin:-none}"
    return 1
  fi
  : >"$LAB_RESPONDER_LOG"
  ip netns exec "$NS_RESPONDER" "$bin" --log "$LAB_RESPONDER_LOG" --reporter "$LAB_REPORTER" \
    --gateway "$LAB_ROUTER_HOSTS_SIDE" --lifetime "$LAB_LIFETIME" $(responder_table) \
    </dev/null >"$LAB_STATE/responder.out" 2>&1 8>&- &
  echo $! >"$LAB_STATE/responder.pid"
  wait_for grep -qs serving "$LAB_STATE/responder.out" || { say "the responder did not start:"; cat "$LAB_STATE/responder.out" >&2; return 1; }
}

start_name_server() {
  local dir=/etc/netns/$NS_CLIENT entry records=()
  mkdir -p "$dir"
  printf 'nameserver 127.0.0.1\noptions timeout:1 attempts:1\n' >"$dir/resolv.conf"
  # Wine looks up the machine's own name at start.
  printf '127.0.0.1 localhost\n127.0.1.1 %s\n' "$(hostname)" >"$dir/hosts"
  printf 'hosts: files dns\n' >"$dir/nsswitch.conf"
  for entry in $LAB_NAMES; do
    records+=("--host-record=${entry%%=*},${entry#*=}")
  done
  ip netns exec "$NS_CLIENT" dnsmasq --keep-in-foreground --conf-file=/dev/null --no-resolv --no-hosts \
    --listen-address=127.0.0.1 --bind-interfaces --user=root --pid-file= \
    --local=/lab.test/ --address=/#/ "${records[@]}" \
    --log-queries --log-facility="$LAB_STATE/dnsmasq.log" \
    </dev/null >"$LAB_STATE/dnsmasq.out" 2>&1 8>&- &
  echo $! >"$LAB_STATE/dnsmasq.pid"
  wait_for in_ns "$NS_CLIENT" bash -c 'exec 3<>/dev/tcp/127.0.0.1/53' 2>/dev/null \
    || { say "the name server did not start:"; cat "$LAB_STATE/dnsmasq.out" >&2; return 1; }
}

# A copy of the tree's prefix whose wineserver lives in the client namespace:
# Wine's sockets belong to the wineserver's namespace.
start_wine() {
  [ -n "${LAB_WINEPREFIX:-}" ] || return 0
  local tree_prefix=$LAB_WINE_STATE/wineprefix
  if [ ! -f "$tree_prefix/system.reg" ]; then
    say "no Wine prefix in $ZV_BUILD_DIR yet (the wine fixture makes it); lab programs cannot run"
    return 1
  fi
  rm -rf "$LAB_WINEPREFIX"
  cp -a "$tree_prefix" "$LAB_WINEPREFIX"
  (
    export ZV_WINEPREFIX=$LAB_WINEPREFIX
    . "$lab_top/tools/wine-env.sh"
    # The runtime's own wineserver; every step below execs the next, so the
    # recorded pid is the server's.
    "${ZV_WINE_RUN[@]}" ip netns exec "$NS_CLIENT" wineserver -f -p </dev/null >"$LAB_STATE/wineserver.out" 2>&1 8>&- &
    echo $! >"$LAB_STATE/wineserver.pid"
    # Output to /dev/null: the services the first program starts would hold a pipe open.
    zv_wine_cmd ip netns exec "$NS_CLIENT" timeout 60 wine cmd /c exit </dev/null >/dev/null 2>&1 8>&-
  )
}

up() {
  local tool
  for tool in ip nft dnsmasq sysctl; do
    command -v $tool >/dev/null || { say "cannot build: $tool is missing (tools/install-deps.sh)"; exit 3; }
  done
  down
  mkdir -p "$LAB_STATE"
  if ! ip netns add "$LAB-try" 2>"$LAB_STATE/try.err"; then
    say "cannot build: network namespaces are not allowed here: $(cat "$LAB_STATE/try.err")"
    rm -rf "$LAB_STATE"
    exit 3
  fi
  ip netns del "$LAB-try"
  trap 'say "set-up failed at line $LINENO; taking the lab down"; trap - ERR; down; exit 1' ERR
  build_network
  kernel_answers
  start_responder
  start_name_server
  start_wine
  start_reaper
  trap - ERR
  printf 'name=%s\nclient=%s\nresponder_log=%s\nwineprefix=%s\n' "$LAB" "$NS_CLIENT" \
    "$LAB_RESPONDER_LOG" "${LAB_WINEPREFIX:-}" >"$LAB_STATE/ready"
  say "up; run programs with: $0 exec CMD"
}

status() {
  local ns ok=0
  for ns in $LAB_NAMESPACES; do
    if ns_exists "$ns"; then echo "namespace $ns: present"; else echo "namespace $ns: absent"; ok=1; fi
  done
  local p
  for p in responder dnsmasq wineserver; do
    if [ -f "$LAB_STATE/$p.pid" ] && kill -0 "$(cat "$LAB_STATE/$p.pid")" 2>/dev/null; then
      echo "$p: running, pid $(cat "$LAB_STATE/$p.pid")"
    else
      echo "$p: not running"
      [ $p = wineserver ] || ok=1
    fi
  done
  [ -f "$LAB_STATE/ready" ] || ok=1
  echo "lab $LAB: $([ $ok = 0 ] && echo ready || echo not ready)"
  return $ok
}

if [ "$(id -u)" -ne 0 ]; then
  say "needs root: the lab is made of network namespaces"
  exit 3
fi
exec 8>>/run/zvlab.lock
flock -w 120 8 || { say "another lab command holds /run/zvlab.lock"; exit 1; }
case ${1:-} in
  up) up ;;
  down) down; say "down" ;;
  status) status ;;
  exec) shift; exec 8>&-; exec ip netns exec "$NS_CLIENT" "$@" ;;
  *) echo "usage: lab.sh up|down|status|exec CMD..." >&2; exit 2 ;;
esac
