#!/usr/bin/env bash
# A private test LAN of network namespaces: a tool host and device hosts on one bridge.
# Nothing is created in the caller's own namespace, so no device-protocol datagram can
# reach this machine's real interfaces.
#
#   testlan.sh up ID [--device-hosts N] [--second-tool-address] [--loss PERCENT]
#   testlan.sh loss ID PERCENT          change the random loss on the switch between the tool host
#                                       and the device hosts, both ways (0 removes it)
#   testlan.sh loss-stats ID            what the loss did: "dropped-in N", "dropped-out N", and
#                                       "reached ADDRESS" for each device whose discover report got through
#   testlan.sh exec ID HOST CMD...      run CMD in HOST (tool, dev1, dev2, ...)
#   testlan.sh down ID                  end every process in the LAN and remove it
#   testlan.sh gc                       remove LANs whose creating process is gone
#   testlan.sh info ID                  print the hosts and addresses
#
# ID should carry the caller's process id (e.g. "$$" or "$$-rename"): namespaces are named
# fmtest-ID-sw, fmtest-ID-tool and fmtest-ID-devN. The tool host's eth0 has 10.77.0.1/16
# (and 10.77.0.2/16 with --second-tool-address); device hosts' eth0 start without an
# address, the simulator adds one address per device from 10.77.1.1 on.
set -euo pipefail

readonly TOOL_ADDRESS=10.77.0.1/16
readonly SECOND_TOOL_ADDRESS=10.77.0.2/16
# Ports the tool receives on, and the ports it sends to.
readonly TOOL_IN_PORTS="9785, 9787, 9788"
readonly TOOL_OUT_PORTS="9786, 9787"
readonly DISCOVER_REPORT_PORT=9785

die() { echo "testlan: $*" >&2; exit 2; }
ns() { echo "fmtest-$1-$2"; }
in_ns() { local name=$1; shift; ip netns exec "$name" "$@"; }

require_root() {
  [ "$(id -u)" -eq 0 ] || die "needs root (network namespaces)"
  command -v ip >/dev/null || die "needs iproute2"
}

# The namespace files themselves: "ip netns list" also asks for ids, and complains about
# namespaces that a parallel test is removing.
netns_names() {
  ls /run/netns 2>/dev/null || true
}

host_names() {
  netns_names | grep -E "^fmtest-$1-" || true
}

# Loss on the switch, as on a bad link: neither end learns of a dropped datagram (dropped in
# the tool's own output path, a send would fail with EPERM, which no real link does).
set_loss() {
  local id=$1 percent=$2 sw
  sw=$(ns "$id" sw)
  in_ns "$sw" nft delete table bridge fmtest_loss 2>/dev/null || true
  [ "$percent" -gt 0 ] || return 0
  command -v nft >/dev/null || die "needs nftables for --loss"
  in_ns "$sw" nft -f - <<NFT
table bridge fmtest_loss {
  counter dropped_in { }
  counter dropped_out { }
  # Senders of the discover reports that survived the loss: a test can tell the devices the
  # tool must have found from those the loss hid.
  set reached { type ipv4_addr; flags dynamic; }
  chain forward {
    type filter hook forward priority 0;
    iifname "tool" udp dport { $TOOL_OUT_PORTS } numgen random mod 100 < $percent counter name "dropped_out" drop
    oifname "tool" udp dport { $TOOL_IN_PORTS } numgen random mod 100 < $percent counter name "dropped_in" drop
    oifname "tool" udp dport $DISCOVER_REPORT_PORT add @reached { ip saddr }
  }
}
NFT
}

loss_stats() {
  local sw direction
  sw=$(ns "$1" sw)
  for direction in in out; do
    echo "dropped-$direction $(in_ns "$sw" nft list counter bridge fmtest_loss "dropped_$direction" |
      awk '/packets/ {print $2}')"
  done
  in_ns "$sw" nft list set bridge fmtest_loss reached |
    sed -n '/elements/,/}/p' | grep -oE '([0-9]+\.){3}[0-9]+' | sed 's/^/reached /'
}

# A host namespace with eth0 plugged into the switch's bridge as port PORT.
add_host() {
  local id=$1 host=$2 port=$3 sw name
  sw=$(ns "$id" sw)
  name=$(ns "$id" "$host")
  ip netns add "$name"
  in_ns "$name" ip link set lo up
  ip -n "$sw" link add "$port" type veth peer name eth0 netns "$name"
  ip -n "$sw" link set "$port" master br0 up
  in_ns "$name" ip link set eth0 up
  # Everything this host sends, broadcasts and multicast included, leaves through eth0.
  in_ns "$name" ip route add default dev eth0
}

up() {
  local id=$1; shift
  local device_hosts=1 second=0 loss=0
  while [ $# -gt 0 ]; do
    case $1 in
      --device-hosts) device_hosts=$2; shift 2 ;;
      --second-tool-address) second=1; shift ;;
      --loss) loss=$2; shift 2 ;;
      *) die "unknown option $1" ;;
    esac
  done
  [ -z "$(host_names "$id")" ] || die "LAN $id exists"
  local sw
  sw=$(ns "$id" sw)
  ip netns add "$sw"
  in_ns "$sw" ip link set lo up
  ip -n "$sw" link add br0 type bridge
  # No IGMP snooping: with no querier on the LAN, snooping may starve the multicast group.
  ip -n "$sw" link set br0 type bridge mcast_snooping 0
  ip -n "$sw" link set br0 up

  add_host "$id" tool tool
  in_ns "$(ns "$id" tool)" ip addr add "$TOOL_ADDRESS" dev eth0
  if [ "$second" -eq 1 ]; then
    in_ns "$(ns "$id" tool)" ip addr add "$SECOND_TOOL_ADDRESS" dev eth0
  fi
  local k
  for k in $(seq 1 "$device_hosts"); do
    add_host "$id" "dev$k" "dev$k"
  done
  set_loss "$id" "$loss"
  info "$id"
}

down() {
  local id=$1 name pid
  for name in $(host_names "$id"); do
    for pid in $(ip netns pids "$name" 2>/dev/null); do
      kill -TERM "$pid" 2>/dev/null || true
    done
  done
  # Give them a moment to end cleanly, then make sure.
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    local left=0
    for name in $(host_names "$id"); do
      [ -n "$(ip netns pids "$name" 2>/dev/null)" ] && left=1
    done
    [ "$left" -eq 0 ] && break
    sleep 0.2
  done
  for name in $(host_names "$id"); do
    for pid in $(ip netns pids "$name" 2>/dev/null); do
      kill -KILL "$pid" 2>/dev/null || true
    done
    ip netns delete "$name" 2>/dev/null || true
  done
}

gc() {
  local name id owner
  for name in $(netns_names | grep -E '^fmtest-' || true); do
    id=${name#fmtest-}
    owner=${id%%[!0-9]*}
    if [ -n "$owner" ] && ! kill -0 "$owner" 2>/dev/null; then
      down "${id%-*}"
    fi
  done
}

info() {
  local id=$1 name
  for name in $(host_names "$id" | sort); do
    [ "$name" = "$(ns "$id" sw)" ] && continue
    printf '%s' "$name"
    { ip -n "$name" -4 -o addr show dev eth0 2>/dev/null || true; } | awk '{printf " %s", $4}'
    echo
  done
}

require_root
command=${1:-}; shift || true
case $command in
  up) [ $# -ge 1 ] || die "usage: up ID [options]"; up "$@" ;;
  down) [ $# -eq 1 ] || die "usage: down ID"; down "$1" ;;
  loss) [ $# -eq 2 ] || die "usage: loss ID PERCENT"; set_loss "$1" "$2" ;;
  loss-stats) [ $# -eq 1 ] || die "usage: loss-stats ID"; loss_stats "$1" ;;
  exec) [ $# -ge 3 ] || die "usage: exec ID HOST CMD..."; id=$1; host=$2; shift 2; in_ns "$(ns "$id" "$host")" "$@" ;;
  gc) gc ;;
  info) [ $# -eq 1 ] || die "usage: info ID"; info "$1" ;;
  *) die "usage: testlan.sh up|down|loss|loss-stats|exec|gc|info ..." ;;
esac
