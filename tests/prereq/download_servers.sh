#!/usr/bin/env bash
# Starts and stops the servers the downloader tests talk to, all on 127.0.0.1:
#   download_servers.sh start STATE   nginx (HTTP and HTTPS with a certificate made now), the
#                                     test HTTP server and the FTP servers, on free ports written
#                                     to STATE/ports
#   download_servers.sh stop STATE    stops every server 'start' started
# Each server runs under `timeout`, so none outlives a run that never reaches 'stop'.
set -eu
cmd=${1:?usage: download_servers.sh start|stop STATE}
state=${2:?usage: download_servers.sh start|stop STATE}
here=$(cd "$(dirname "$0")" && pwd)
lifetime=${DOWNLOAD_SERVERS_LIFETIME:-1200}  # seconds
python=/usr/bin/python3

stop_all() {
    local pidfile
    for pidfile in "$state"/*.pid; do
        [ -f "$pidfile" ] || continue
        kill "$(cat "$pidfile")" 2>/dev/null || true
        rm -f "$pidfile"
    done
}

free_ports() {  # prints N free TCP ports of 127.0.0.1
    "$python" - "$1" <<'PY'
import socket, sys
socks = []
for _ in range(int(sys.argv[1])):
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    socks.append(s)
print(" ".join(str(s.getsockname()[1]) for s in socks))
PY
}

make_data() {
    mkdir -p "$state/www/private" "$state/www/vault" "$state/ftp"
    "$python" - "$state" <<'PY'
import sys
state = sys.argv[1]
def pattern(n):
    return bytes(((i * 7 + i // 251) & 0xFF) for i in range(n))
data = pattern(3 * 1024 * 1024)
for path in ("www/kit.bin", "www/private/kit.bin", "www/vault/kit.bin", "ftp/kit.bin"):
    open(state + "/" + path, "wb").write(data)
PY
    printf 'kit:{PLAIN}secret\n' > "$state/htpasswd"
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=localhost \
        -keyout "$state/key.pem" -out "$state/cert.pem" >/dev/null 2>&1
}

write_nginx_conf() {
    cat > "$state/nginx.conf" <<CONF
daemon off;
worker_processes 1;
pid $state/nginx.pid.internal;
error_log $state/nginx-error.log;
user root root;
events { worker_connections 64; }
http {
    access_log off;
    client_body_temp_path $state/tmp-body;
    proxy_temp_path $state/tmp-proxy;
    fastcgi_temp_path $state/tmp-fastcgi;
    uwsgi_temp_path $state/tmp-uwsgi;
    scgi_temp_path $state/tmp-scgi;
    default_type application/octet-stream;
    sendfile on;
    server {
        listen 127.0.0.1:$1;
        listen 127.0.0.1:$2 ssl;
        ssl_certificate $state/cert.pem;
        ssl_certificate_key $state/key.pem;
        root $state/www;
        location /private/ { auth_basic "Kit Store"; auth_basic_user_file $state/htpasswd; }
        location /vault/ { auth_basic "Kit Vault"; auth_basic_user_file $state/htpasswd; }
        location = /forbidden { return 403; }
        location = /gone { return 410; }
        location = /broken { return 500; }
        location = /badgateway { return 502; }
    }
}
CONF
}

wait_for_port() {  # bounded: 100 tries, 0.1 s apart
    local port=$1 i
    for i in $(seq 1 100); do
        if "$python" -c "import socket,sys; socket.create_connection(('127.0.0.1', int(sys.argv[1])), 1)" "$port" 2>/dev/null; then
            return 0
        fi
        sleep 0.1
    done
    echo "download_servers: nothing listens on port $port" >&2
    return 1
}

start_server() {  # name, command...
    local name=$1
    shift
    timeout "$lifetime" "$@" >"$state/$name.log" 2>&1 </dev/null &
    echo $! > "$state/$name.pid"
}

case "$cmd" in
start)
    mkdir -p "$state"
    state=$(cd "$state" && pwd)
    stop_all
    make_data
    read -r http https py ftp ftpnorest <<<"$(free_ports 5)"
    write_nginx_conf "$http" "$https"
    start_server nginx nginx -p "$state" -c "$state/nginx.conf"
    start_server http "$python" "$here/download_test_server.py" "$py"
    start_server ftp "$python" "$here/download_ftp_server.py" "$ftp" "$ftpnorest" "$state/ftp"
    for port in "$http" "$https" "$py" "$ftp" "$ftpnorest"; do
        wait_for_port "$port" || { cat "$state"/*.log >&2; stop_all; exit 1; }
    done
    printf 'http %s\nhttps %s\ntest %s\nftp %s\nftpnorest %s\n' "$http" "$https" "$py" "$ftp" "$ftpnorest" > "$state/ports"
    echo "download_servers: $(tr '\n' ' ' < "$state/ports")"
    ;;
stop)
    [ -d "$state" ] || exit 0
    state=$(cd "$state" && pwd)
    stop_all
    ;;
*)
    echo "usage: download_servers.sh start|stop STATE" >&2; exit 2 ;;
esac
