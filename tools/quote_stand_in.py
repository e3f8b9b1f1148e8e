#!/usr/bin/env python3
"""A stand-in for the quote and chart services, for trying the program without
the outside services. Point setup.ini at it:

    [network]
    QuoteHost=127.0.0.1:18080
    ChartHost=127.0.0.1:18080

/list=<prefix><code> answers in GBK in the first quote service's form, from the
small table below (an unknown code gets an empty quote, as the real service
gives); /q=<prefix><code> answers in the second service's form (QuoteHost2),
fields separated by "~", an unknown code with v_pv_none_match="1";. Several
codes separated by "," get one line each. For trying the second service, run
two stand-ins on two ports and name both in setup.ini:

    QuoteHost=127.0.0.1:18080
    QuoteHost2=127.0.0.1:18081

--stock CODE=NAME adds a stock to the table or renames one (a close of 10.00),
for trying 更新股票列表: --stock 920999=新上市 --stock 000002=万科新名.
--refuse, --stall and --kinsoku make the quote paths fail as a public service
can: the connection is dropped without a reply, held without a reply, or
answered with status 403 and the page "Kinsoku jikou desu!".
--charset names the charset of the quote replies (GBK, UTF-8, none).
With --moving, each request for a known code moves its latest price through
+2%, -0.2%, -0.2%, -0.5%, +1% and 0% of the previous close in turn (for a
close of 10.00: 10.20, 9.98, 9.98, 9.95, 10.10, 10.00), so the monitor's
alerts and alarm can be watched.
/newchart/<kind>/n/<prefix><code>.gif answers with <kind>.gif from --charts
(min, daily, weekly, monthly), or with any one GIF given by --gif.
With --version TEXT it also stands in for the maker's server (UpdateHost):
/StockVersion.html answers TEXT and /ark/index12.asp a small download page.
"""

import argparse
import http.server
import os
import re
import socket
import time

# code: name, previous close, latest price (0 before the first trade)
QUOTES = {
    "600000": ("浦发银行", "10.00", "10.35"),
    "600519": ("贵州茅台", "1650.00", "1638.20"),
    "000001": ("平安银行", "11.20", "11.05"),
    "000002": ("万科Ａ", "7.80", "7.80"),
    "300750": ("宁德时代", "182.50", "0.000"),
    "920000": ("安徽凤凰", "12.00", "12.30"),
}


MOVES = (2.0, -0.2, -0.2, -0.5, 1.0, 0.0)
requests_by_code = {}


def prices(code, moving):
    """name, previous close, latest, high, low of a known code, or None."""
    entry = QUOTES.get(code)
    if entry is None:
        return None
    name, previous, latest = entry
    if moving:
        n = requests_by_code.get(code, 0)
        requests_by_code[code] = n + 1
        latest = f"{float(previous) * (1 + MOVES[n % len(MOVES)] / 100):.2f}"
    high = max(float(previous), float(latest))
    low = min(float(previous), float(latest)) or float(previous)
    return name, previous, latest, f"{high:.2f}", f"{low:.2f}"


def quote_line(prefix, code, moving=False):
    quote = prices(code, moving)
    fields = ""
    if quote is not None:
        name, previous, latest, high, low = quote
        fields = ",".join([name, previous, previous, latest, high, low, latest, latest,
                           "1234500", "12345678.00", "2026-12-04", "15:00:00", "00"])
    return f'var hq_str_{prefix}{code}="{fields}";\n'


def q_line(prefix, code, moving=False):
    quote = prices(code, moving)
    if quote is None:
        return 'v_pv_none_match="1";\n'
    name, previous, latest, high, low = quote
    fields = ["1", name, code, latest, previous, previous] + ["0"] * 24
    fields += ["20261204150000", "0.00", "0.00", high, low]
    return f'v_{prefix}{code}="{"~".join(fields)}";\n'


class Handler(http.server.BaseHTTPRequestHandler):
    charts = None
    gif = None
    moving = False
    version = None
    failure = None
    charset = "GBK"

    def do_GET(self):
        quote = re.fullmatch(r"/(list|q)=((?:(?:sh|sz|bj).{6},?)+)", self.path)
        chart = re.fullmatch(r"/newchart/(min|daily|weekly|monthly)/n/(sh|sz|bj)(\d{6})\.gif", self.path)
        if quote and self.failure == "refuse":
            self.connection.shutdown(socket.SHUT_RDWR)
            self.close_connection = True
        elif quote and self.failure == "stall":
            time.sleep(3600)
        elif quote and self.failure == "kinsoku":
            self.reply(403, b"Kinsoku jikou desu!", "text/html")
        elif quote:
            line = quote_line if quote.group(1) == "list" else q_line
            symbols = [s for s in quote.group(2).split(",") if s]
            text = "".join(line(s[:2], s[2:], self.moving) for s in symbols)
            encoding = "utf-8" if self.charset.lower() == "utf-8" else "gbk"
            content_type = "text/plain" if self.charset.lower() == "none" else f"text/plain; charset={self.charset}"
            self.reply(200, text.encode(encoding), content_type)
        elif chart:
            path = self.gif or os.path.join(self.charts or "", chart.group(1) + ".gif")
            try:
                with open(path, "rb") as f:
                    self.reply(200, f.read(), "image/gif")
            except OSError:
                self.reply(404, b"no chart", "text/plain")
        elif self.version is not None and self.path == "/StockVersion.html":
            self.reply(200, self.version.encode("gbk"), "text/html; charset=GBK")
        elif self.version is not None and self.path == "/ark/index12.asp":
            page = f"<html><body><p>Quorvane {self.version}</p></body></html>"
            self.reply(200, page.encode("gbk"), "text/html; charset=GBK")
        else:
            self.reply(404, b"not found", "text/plain")

    def reply(self, status, body, content_type):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--port", type=int, default=18080)
    parser.add_argument("--charts", help="folder holding min.gif, daily.gif, weekly.gif, monthly.gif")
    parser.add_argument("--gif", help="one GIF for every chart")
    parser.add_argument("--moving", action="store_true", help="move the prices at every request")
    parser.add_argument("--version", help="the latest version the maker's server announces, e.g. 1.6")
    failure = parser.add_mutually_exclusive_group()
    failure.add_argument("--refuse", dest="failure", action="store_const", const="refuse",
                         help="drop every quote request without a reply")
    failure.add_argument("--stall", dest="failure", action="store_const", const="stall",
                         help="hold every quote request without a reply")
    failure.add_argument("--kinsoku", dest="failure", action="store_const", const="kinsoku",
                         help='answer every quote request with 403 "Kinsoku jikou desu!"')
    parser.add_argument("--charset", default="GBK", help="charset of the quote replies: GBK, UTF-8 or none")
    parser.add_argument("--stock", action="append", default=[], metavar="CODE=NAME",
                        help="add or rename a stock (repeatable)")
    args = parser.parse_args()
    for stock in args.stock:
        code, name = stock.split("=", 1)
        previous, latest = QUOTES.get(code, (None, "10.00", "10.00"))[1:]
        QUOTES[code] = (name, previous, latest)
    Handler.failure = args.failure
    Handler.charset = args.charset
    Handler.charts = args.charts
    Handler.gif = args.gif
    Handler.moving = args.moving
    Handler.version = args.version
    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True  # stalled requests do not hold the exit
    print(f"serving on 127.0.0.1:{args.port}", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
