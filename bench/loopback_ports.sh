# Ports on 127.0.0.1 for the benchmarks' private servers. Sourced, not run.

# N free ports (default 1) on one line, bound at once so that they differ.
bench_free_ports() {
  python3 -c '
import socket, sys
socks = [socket.socket() for _ in range(int(sys.argv[1]))]
for s in socks:
    s.bind(("127.0.0.1", 0))
print(*(s.getsockname()[1] for s in socks))' "${1:-1}"
}

# Returns once something answers on 127.0.0.1:$1; fails after about 5 s.
bench_wait_port() {
  local i
  for i in $(seq 50); do
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null && return 0
    sleep 0.1
  done
  echo "nothing answers on 127.0.0.1:$1" >&2
  return 1
}
