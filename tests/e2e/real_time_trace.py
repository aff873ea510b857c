#!/usr/bin/env python3
"""The real program under strace while its Eurotel page names STUN and TURN servers and a
peer's ".local" candidate: nothing goes to a name server (53) or multicast DNS (5353), no
datagram at all, and TCP only to its gatekeeper and from there to the gateway. (The engine
connects a UDP socket to a public address to learn its default route, as Chromium does; the
trace shows that it sends nothing.) Every process it starts ends before it returns.
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

PAGE = """<script>
function report(what) { new Image().src = '/report?what=' + what; }
const servers = [{urls: 'stun:stun.example.org:3478'}, {urls: ['turn:turn.example.org:3478',
  'turn:turn.example.org:443?transport=tcp'], username: 'u', credential: 'p'}];
const peer = new RTCPeerConnection({iceServers: servers});
const other = new RTCPeerConnection({iceServers: servers});
peer.createDataChannel('x');
peer.createOffer().then((offer) => peer.setLocalDescription(offer))
  .then(() => other.setRemoteDescription(peer.localDescription))
  .then(() => other.createAnswer()).then((answer) => peer.setRemoteDescription(answer))
  .then(() => peer.addIceCandidate({sdpMid: '0', candidate: 'candidate:1 1 udp 2122260223 '
    + '6d1a5a2b-2f4c-4c1e-9a77-3f1d2b6c8e90.local 54321 typ host'}))
  .then(() => setTimeout(() => report('done'), 3000), (e) => report('failed-' + e.name));
</script>"""
# Each call on a TCP or UDP socket, as strace -yy names the socket.
CALL = re.compile(r"(connect|sendto|sendmsg|sendmmsg|write)\(\d+<(TCP|UDP)(?:v6)?:")
PLACE = re.compile(r'sin6?_port=htons\((\d+)\), '
                   r'(?:sin_addr=inet_addr\("([^"]+)"\)|[^}]*inet_pton\(AF_INET6, "([^"]+)")')


def network_calls(lines):
    """(call, kind of socket, address, port) of each call on an IPv4 or IPv6 socket."""
    for line in lines:
        if call := CALL.search(line):
            place = PLACE.search(line)
            yield call[1], call[2], place and (place[2] or place[3]), place and int(place[1])


def main():
    program, module, simulator, help_document, gateway = sys.argv[1:]
    folder = Path(tempfile.mkdtemp(prefix="movarek-trace-"))
    for source, name in ((program, ""), (module, ""), (help_document, "napoveda.rtf")):
        shutil.copy2(source, folder / name)
    (folder / "eurotel.html").write_text(PAGE)
    log, trace = folder / "requests.jsonl", folder / "trace.log"
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_DATA_HOME=str(folder / "data"),
               DBUS_SYSTEM_BUS_ADDRESS="unix:path=/nonexistent/movarek-no-system-bus")
    if os.getuid() == 0:
        env["QTWEBENGINE_DISABLE_SANDBOX"] = "1"
    processes = []
    try:
        processes.append(subprocess.Popen(
            [simulator, "--port", gateway, "--log", str(log), "--eurotel-page",
             str(folder / "eurotel.html")], stdout=subprocess.DEVNULL, start_new_session=True))
        traced = subprocess.Popen(
            ["strace", "-f", "-qq", "-yy", "-o", str(trace), "-e",
             "trace=connect,sendto,sendmsg,sendmmsg,write",
             str(folder / Path(program).name)], env=env, start_new_session=True)
        processes.append(traced)
        deadline = time.monotonic() + 90
        while "/report" not in (log.read_text() if log.exists() else ""):
            if time.monotonic() > deadline or traced.poll() is not None:
                return "the page never reported"
            time.sleep(0.2)
        told = log.read_text()
        calls = set(network_calls(trace.read_text().splitlines()))
        ports = {(address, port) for call, kind, address, port in calls
                 if call == "connect" and kind == "TCP"}
        # Every page comes through the gatekeeper: the one port of 127.0.0.1 besides the gateway's.
        own = {port for address, port in ports if port != int(gateway)}
        problems = [f"the page: {told.strip()}"] if '"what":"done"' not in told else []
        problems += [f"{call} on a {kind} socket" + (f" to {address}:{port}" if address else "")
                     for call, kind, address, port in sorted(calls, key=str)
                     if call != "connect" and (kind == "UDP" or port in (53, 5353))]
        problems += [f"connected to {address}:{port}" for address, port in sorted(ports, key=str)
                     if address != "127.0.0.1" or (port in own and len(own) > 1)]
        print("\n".join(problems) or f"only the gatekeeper ({own}) and the gateway were reached")
        return 1 if problems else 0
    finally:
        for process in reversed(processes):
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
