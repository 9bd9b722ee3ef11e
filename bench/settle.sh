# settle PID: waits until the peak memory of PID has not moved for two seconds,
# then prints its peak, resident and anonymous memory. Sourced by the memory scripts.
settle() {
  local pid=$1 prev= stable=0 cur
  for _ in $(seq 1 600); do
    sleep 0.2
    cur=$(awk '/^VmHWM/ {print $2}' /proc/$pid/status 2>/dev/null || true)
    if [ -n "$cur" ] && [ "$cur" = "$prev" ]; then stable=$((stable + 1)); else stable=0; fi
    prev=$cur
    [ $stable -ge 10 ] && break
  done
  awk '/^(VmHWM|VmRSS|RssAnon)/ {printf "  %s %.0f MB\n", $1, $2 / 1024}' /proc/$pid/status
}
