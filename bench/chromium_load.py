#!/usr/bin/env python3
"""The browser baseline: opens pages in headless Chromium over the DevTools protocol
(--remote-debugging-pipe) and reports, as one JSON object on stdout:

  launch_to_first_load_ms  from starting the browser to the load event of the first URL
  loads                    per URL, the median time from Page.navigate to the load event
                           (browser already running, cache disabled) over --repeat loads
  peak_tree_rss_kib        the largest sum of VmRSS over the browser's process tree, sampled
                           every 20 ms while the pages load

Usage: chromium_load.py [--repeat N] [--session] URL...
With --session every URL is loaded once in order (a user's visit of those pages) instead.
Run it under /usr/bin/time -v for the peak of the largest single process as well.
"""
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

CHROMIUM = "/usr/bin/chromium"
FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--ignore-certificate-errors", "--remote-debugging-pipe"]


class Browser:
    def __init__(self):
        self.profile = tempfile.mkdtemp(prefix="smsdock-chromium-")
        to_child_r, self.to_child = os.pipe()
        self.from_child, from_child_w = os.pipe()

        def wire():
            # Through high numbers first, in case the pipe ends themselves are 3 or 4.
            os.dup2(to_child_r, 200)
            os.dup2(from_child_w, 201)
            os.dup2(200, 3)
            os.dup2(201, 4)

        self.started = time.monotonic()
        self.proc = subprocess.Popen(
            [CHROMIUM, *FLAGS, "--user-data-dir=" + self.profile, "about:blank"],
            pass_fds=(3, 4), preexec_fn=wire,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_child_r)
        os.close(from_child_w)
        self.buffer = b""
        self.next_id = 0
        self.peak_rss = 0
        self.sampling = True
        self.sampler = threading.Thread(target=self.sample, daemon=True)
        self.sampler.start()

    def tree_rss_kib(self):
        children = {}
        for pid in os.listdir("/proc"):
            if not pid.isdigit():
                continue
            try:
                with open(f"/proc/{pid}/stat") as f:
                    ppid = int(f.read().rsplit(")", 1)[1].split()[1])
                children.setdefault(ppid, []).append(int(pid))
            except (OSError, IndexError, ValueError):
                pass
        total, todo = 0, [self.proc.pid]
        while todo:
            pid = todo.pop()
            todo.extend(children.get(pid, []))
            try:
                with open(f"/proc/{pid}/status") as f:
                    for line in f:
                        if line.startswith("VmRSS:"):
                            total += int(line.split()[1])
            except OSError:
                pass
        return total

    def sample(self):
        while self.sampling:
            self.peak_rss = max(self.peak_rss, self.tree_rss_kib())
            time.sleep(0.02)

    def send(self, method, params=None, session=None):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        os.write(self.to_child, json.dumps(message).encode() + b"\0")
        return self.wait(lambda m: m.get("id") == self.next_id)

    def wait(self, matches):
        while True:
            while b"\0" in self.buffer:
                raw, self.buffer = self.buffer.split(b"\0", 1)
                message = json.loads(raw)
                if matches(message):
                    return message
            chunk = os.read(self.from_child, 1 << 16)
            if not chunk:
                raise RuntimeError("the browser closed its pipe")
            self.buffer += chunk

    def open_page(self):
        targets = self.send("Target.getTargets")["result"]["targetInfos"]
        page = next(t for t in targets if t["type"] == "page")
        session = self.send("Target.attachToTarget",
                            {"targetId": page["targetId"], "flatten": True})["result"]["sessionId"]
        self.send("Page.enable", session=session)
        self.send("Network.enable", session=session)
        self.send("Network.setCacheDisabled", {"cacheDisabled": True}, session=session)
        return session

    def load(self, session, url):
        started = time.monotonic()
        self.send("Page.navigate", {"url": url}, session=session)
        self.wait(lambda m: m.get("method") == "Page.loadEventFired")
        return (time.monotonic() - started) * 1000, time.monotonic()

    def close(self):
        self.sampling = False
        try:
            self.send("Browser.close")
        except (RuntimeError, OSError):
            pass
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        shutil.rmtree(self.profile, ignore_errors=True)


def main(args):
    repeat, session_mode, urls = 10, False, []
    while args:
        arg = args.pop(0)
        if arg == "--repeat":
            repeat = int(args.pop(0))
        elif arg == "--session":
            session_mode = True
        else:
            urls.append(arg)
    if not urls:
        print(__doc__, file=sys.stderr)
        return 2
    browser = Browser()
    try:
        session = browser.open_page()
        _, loaded = browser.load(session, urls[0])
        result = {"launch_to_first_load_ms": (loaded - browser.started) * 1000, "loads": {}}
        for url in urls[1:] if session_mode else urls:
            times = [browser.load(session, url)[0] for _ in range(1 if session_mode else repeat)]
            result["loads"][url] = statistics.median(times)
        browser.peak_rss = max(browser.peak_rss, browser.tree_rss_kib())
        result["peak_tree_rss_kib"] = browser.peak_rss
    finally:
        browser.close()
    print(json.dumps(result))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
