#!/usr/bin/env python3
"""How fast a new warning reaches the desktop, and what the alert checks ask of the web service.

Runs the real nimbdesk offscreen against a web service on loopback that serves the place's alerts with an ETag
(answering 304 to a request that names it), on a private D-Bus session bus where bench/alertbench_bus records
every notification and stands in for logind (the same bus is given to the program as its system bus).

After a quiet spell in which nothing changes, the service switches a new Tornado Warning on at random moments, one
at a time, and the script measures the time from the switch to the notification. A second series switches a warning
on and at once tells of a resume from suspend (logind's PrepareForSleep(false)). At the end it reports the delays
(median and 95th percentile), the requests per hour, the share of alert requests answered 304 while nothing had
changed, and the bytes per hour.

    scripts/bench-alerts.py --build build                  # 10 warnings and 5 resumes, about 20 minutes
    scripts/bench-alerts.py --build build --warnings 3 --resumes 2 --quiet-minutes 1   # a short run

The check interval is the program's own setting (1 minute by default, --check-minutes to change it).
"""

import argparse
import http.server
import json
import os
import queue
import random
import statistics
import subprocess
import sys
import tempfile
import threading
import time
from datetime import datetime, timedelta, timezone

# East Williston, New York: its identifiers in the location files, its coordinates and forecast zone.
STATE = 36
CITY = 3623217
ALERT_PATHS = ("/api/alerts/active?point=40.7608,-73.6336", "/api/alerts/active/zone/NYZ177")
TITLE = "Tornado Warning — East Williston, New York"


def iso(moment):
    return moment.strftime("%Y-%m-%dT%H:%M:%S+00:00")


def warning(number):
    now = datetime.now(timezone.utc)
    return {"properties": {
        "id": "urn:oid:bench.tornado.%d.%d" % (os.getpid(), number), "status": "Actual", "messageType": "Alert",
        "event": "Tornado Warning", "severity": "Extreme", "urgency": "Immediate", "certainty": "Observed",
        "sent": iso(now), "effective": iso(now), "expires": iso(now + timedelta(hours=1)),
        "headline": "Tornado Warning issued by NWS Upton NY",
        "description": "At this hour, a confirmed tornado was located near Mineola.", "references": []}}


class Service:
    """The alerts in force and what was asked of them."""

    def __init__(self):
        self.lock = threading.Lock()
        self.version = 0
        self.body = b""
        self.switch([])
        self.started = time.monotonic()
        self.requests = 0
        self.alert_requests = 0
        self.not_modified = 0
        # Alert requests made while the answer was the one the last alert request had: 304 is the right answer.
        self.unchanged = 0
        self.unchanged_304 = 0
        self.bytes = 0
        self.last_seen = -1

    def switch(self, alerts):
        with self.lock:
            self.version += 1
            self.body = json.dumps({"type": "FeatureCollection", "features": alerts}).encode()

    def etag(self):
        return '"v%d"' % self.version

    def answer(self, path, if_none_match):
        with self.lock:
            self.requests += 1
            if path not in ALERT_PATHS:
                return 404, [("Content-Type", "application/problem+json")], b'{"title": "Not Found"}'
            self.alert_requests += 1
            unchanged = self.last_seen == self.version
            self.last_seen = self.version
            self.unchanged += unchanged
            if if_none_match == self.etag():
                self.not_modified += 1
                self.unchanged_304 += unchanged
                return 304, [("ETag", self.etag())], b""
            return 200, [("Content-Type", "application/geo+json"), ("ETag", self.etag())], self.body

    def count(self, sent):
        with self.lock:
            self.bytes += sent


def handler_for(service):
    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def do_GET(self):
            status, headers, body = service.answer(self.path, self.headers.get("If-None-Match"))
            lines = ["HTTP/1.1 %d %s" % (status, self.responses.get(status, ("",))[0])]
            lines += ["%s: %s" % header for header in headers]
            lines += ["Content-Length: %d" % len(body), "Connection: close", "", ""]
            data = "\r\n".join(lines).encode() + body
            self.wfile.write(data)
            self.close_connection = True
            service.count(len(data))

        def log_message(self, *args):
            pass

    return Handler


def setting(value):
    return "int:%d" % value if isinstance(value, int) else 'str:"%s"' % value


def write_settings(folder, base, check_minutes):
    sections = {
        "Location": {"State": STATE, "City": CITY},
        "Internet": {"ApiBase": base + "/api/", "ConditionsBase": base + "/current/", "WarningsBase": base + "/iwin/",
                     "ProductSource": 1},
        "Notify": {"AlertCheckMinutes": check_minutes},
    }
    with open(os.path.join(folder, "Nimbrel.conf"), "w") as out:
        for section, values in sections.items():
            out.write("[%s]\n" % section)
            for key, value in values.items():
                out.write("%s=%s\n" % (key, setting(value)))


def start_bus():
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"], stdout=subprocess.PIPE,
                           text=True)
    return bus, bus.stdout.readline().strip()


def read_lines(stream, lines):
    for line in stream:
        lines.put((time.time(), line.rstrip("\n")))


def wait_for_notification(lines, timeout):
    deadline = time.time() + timeout
    while time.time() < deadline:
        try:
            _, line = lines.get(timeout=max(0.1, deadline - time.time()))
        except queue.Empty:
            break
        if line.startswith("notify ") and TITLE in line:
            return int(line.split()[1]) / 1000.0
    return None


def percentile(values, share):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, max(0, int(round(share * len(ordered) + 0.5)) - 1))]


def series(service, helper, lines, count, first, resume, gaps):
    delays = []
    for number in range(first, first + count):
        time.sleep(random.uniform(*gaps))
        service.switch([warning(number)])
        switched = time.time()
        if resume:
            helper.stdin.write("resume\n")
            helper.stdin.flush()
        notified = wait_for_notification(lines, 600)
        if notified is None:
            print("warning %d: no notification within 10 minutes" % number, file=sys.stderr)
            continue
        delays.append(notified - switched)
        print("%s %d: %.1f s" % ("resume" if resume else "warning", number, delays[-1]), flush=True)
    return delays


def report(name, delays):
    if delays:
        print("%s: %d, median %.1f s, 95th percentile %.1f s, longest %.1f s"
              % (name, len(delays), statistics.median(delays), percentile(delays, 0.95), max(delays)))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build", help="the build folder (default: build)")
    parser.add_argument("--warnings", type=int, default=10)
    parser.add_argument("--resumes", type=int, default=5)
    parser.add_argument("--check-minutes", type=int, default=1)
    parser.add_argument("--quiet-minutes", type=float, default=5,
                        help="minutes with nothing changing before the warnings (default 5)")
    args = parser.parse_args()

    service = Service()
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler_for(service))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = "http://127.0.0.1:%d" % server.server_address[1]
    bus, address = start_bus()
    environment = dict(os.environ, DBUS_SESSION_BUS_ADDRESS=address, DBUS_SYSTEM_BUS_ADDRESS=address,
                       QT_QPA_PLATFORM="offscreen")
    for proxy in ("http_proxy", "https_proxy", "all_proxy", "no_proxy"):
        environment.pop(proxy, None)
        environment.pop(proxy.upper(), None)
    helper = subprocess.Popen([os.path.join(args.build, "bench", "alertbench_bus")], env=environment,
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    lines = queue.Queue()
    threading.Thread(target=read_lines, args=(helper.stdout, lines), daemon=True).start()
    program = None
    try:
        if lines.get(timeout=10)[1] != "ready":
            sys.exit("alertbench_bus did not start")
        with tempfile.TemporaryDirectory() as folder:
            write_settings(folder, base, args.check_minutes)
            program = subprocess.Popen([os.path.join(args.build, "nimbdesk", "nimbdesk"), "--settings-dir", folder],
                                       env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            started = time.time()
            period = args.check_minutes * 60
            time.sleep(args.quiet_minutes * 60)
            delays = series(service, helper, lines, args.warnings, 1, False, (0.5 * period, 1.5 * period))
            resumes = series(service, helper, lines, args.resumes, 1000, True, (5, 20))
            hours = (time.time() - started) / 3600
            program.terminate()
            program.wait(30)
    finally:
        if program and program.poll() is None:
            program.kill()
        helper.kill()
        bus.kill()
        server.shutdown()
    print("check interval: %d min, run: %.1f min" % (args.check_minutes, hours * 60))
    report("switch to notification", delays)
    report("switch and resume to notification", resumes)
    print("requests per hour: %.0f (alerts %.0f)" % (service.requests / hours, service.alert_requests / hours))
    if service.unchanged:
        print("alert requests while nothing changed answered 304: %.0f%% (%d of %d)"
              % (100.0 * service.unchanged_304 / service.unchanged, service.unchanged_304, service.unchanged))
    print("bytes per hour: %.0f" % (service.bytes / hours))


if __name__ == "__main__":
    main()
