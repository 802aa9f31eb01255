#!/usr/bin/env python3
"""Independent reference values for RealHistoryChainTest.cpp and ZoneReferenceTest.cpp.

Recomputes, with plain textbook loops and no shared code, the indicators, volume level, zones
and index regime of Air Liquide (AI.PA) over the 15 months ending 22 February 2021, from the
bundled histories in data/demo, and prints them for RealHistoryChainTest.cpp. With --fixture it
also writes tests/fixtures/zones/zone_reference.csv: the zones of every bundled history over
320 and 1,500 sessions ending on a few dates, read by ZoneReferenceTest.cpp.
Run from the repository root:  python3 tests/zones/real_history_reference.py [--fixture]
"""
import csv
import datetime as dt
import glob
import math
import os
import sys

ROOT = os.path.join(os.path.dirname(__file__), "..", "..")
NAN = float("nan")
MERGES = [0]  # how many merges the fixture exercises


def load(symbol, first, last):
    bars = []
    with open(os.path.join(ROOT, "data", "demo", symbol + ".csv"), newline="") as f:
        for row in csv.DictReader(f):
            day = dt.date.fromisoformat(row["Date"])
            if first <= day <= last:
                bars.append(dict(date=day, open=float(row["Open"]), high=float(row["High"]),
                                 low=float(row["Low"]), close=float(row["Close"]),
                                 volume=int(row["Volume"])))
    return bars


def sma(values, period):
    out = [NAN] * len(values)
    for i in range(period - 1, len(values)):
        window = values[i - period + 1:i + 1]
        if not any(math.isnan(v) for v in window):
            out[i] = sum(window) / period
    return out


def ema(values, period):
    out = [NAN] * len(values)
    start = next((i for i, v in enumerate(values) if not math.isnan(v)), len(values))
    if len(values) - start < period:
        return out
    value = sum(values[start:start + period]) / period
    out[start + period - 1] = value
    k = 2 / (period + 1)
    for i in range(start + period, len(values)):
        value = value + k * (values[i] - value)
        out[i] = value
    return out


def rsi(closes, period):
    out = [NAN] * len(closes)
    if len(closes) <= period:
        return out
    diffs = [closes[i] - closes[i - 1] for i in range(1, len(closes))]
    gain = sum(d for d in diffs[:period] if d > 0) / period
    loss = sum(-d for d in diffs[:period] if d < 0) / period

    def value(g, l):
        if abs(l) <= 1e-12:
            return 50.0 if abs(g) <= 1e-12 else 100.0
        return 100 - 100 / (1 + g / l)

    out[period] = value(gain, loss)
    for i in range(period + 1, len(closes)):
        d = diffs[i - 1]
        gain = (gain * (period - 1) + max(d, 0)) / period
        loss = (loss * (period - 1) + max(-d, 0)) / period
        out[i] = value(gain, loss)
    return out


def last_cross(hist):
    """Most recent real change of side of the histogram (a touch of zero is none)."""
    for i in range(len(hist) - 1, 0, -1):
        cur, prev = hist[i], hist[i - 1]
        if math.isnan(cur) or math.isnan(prev):
            return None, -1
        before = 0
        for j in range(i - 1, -1, -1):
            if math.isnan(hist[j]):
                break
            if hist[j] != 0:
                before = 1 if hist[j] > 0 else -1
                break
        if prev <= 0 < cur and before <= 0:
            return "haussier", i
        if prev >= 0 > cur and before >= 0:
            return "baissier", i
    return None, -1


def atr(bars, period):
    tr = [NAN] + [max(b["high"] - b["low"], abs(b["high"] - p["close"]), abs(b["low"] - p["close"]))
                  for p, b in zip(bars, bars[1:])]
    out = [NAN] * len(bars)
    out[period] = sum(tr[1:period + 1]) / period
    for i in range(period + 1, len(bars)):
        out[i] = (out[i - 1] * (period - 1) + tr[i]) / period
    return out


def weekly(bars):
    weeks = []
    for b in bars:
        key = b["date"].isocalendar()[:2]
        if weeks and weeks[-1]["key"] == key:
            w = weeks[-1]
            w["high"] = max(w["high"], b["high"])
            w["low"] = min(w["low"], b["low"])
        else:
            weeks.append(dict(key=key, high=b["high"], low=b["low"]))
    return weeks


def zones(bars, W=5, WW=2, P=14, cluster_atr=0.6, min_width_atr=0.5, min_touches=2,
          min_between=8, max_side=3, vol_period=20):
    n = len(bars)
    a = atr(bars, P)[-1]
    close = bars[-1]["close"]
    dist = cluster_atr * a
    min_width = min_width_atr * a
    vol_avg = sma([float(b["volume"]) for b in bars], vol_period)
    weeks = weekly(bars)
    weekly_prices = []
    for p in range(WW, len(weeks) - WW):
        others = [weeks[k] for k in range(p - WW, p + WW + 1) if k != p]
        if all(o["low"] >= weeks[p]["low"] for o in others):
            weekly_prices.append(weeks[p]["low"])
        if all(o["high"] <= weeks[p]["high"] for o in others):
            weekly_prices.append(weeks[p]["high"])
    pivots = []
    for i in range(W, n - W):
        before, after = bars[i - W:i], bars[i + 1:i + W + 1]
        is_low = all(bars[i]["low"] < b["low"] for b in before) and \
            all(bars[i]["low"] <= b["low"] for b in after)
        is_high = all(bars[i]["high"] > b["high"] for b in before) and \
            all(bars[i]["high"] >= b["high"] for b in after)
        max_vol = max(b["volume"] for b in bars[i:i + 3])
        vol_ok = max_vol > 0 and not math.isnan(vol_avg[i]) and max_vol >= vol_avg[i]
        if is_low:
            pivots.append((i, bars[i]["low"], vol_ok))
        if is_high:
            pivots.append((i, bars[i]["high"], vol_ok))
    pivots.sort(key=lambda p: (p[1], p[0]))
    clusters, current = [], []
    for p in pivots:
        if current and p[1] - sum(c[1] for c in current) / len(current) > dist:
            clusters.append(current)
            current = []
        current.append(p)
    if current:
        clusters.append(current)
    candidates = []
    for c in clusters:
        bottom, top = min(p[1] for p in c), max(p[1] for p in c)
        if min_width > top - bottom:
            centre = (bottom + top) / 2
            bottom, top = centre - min_width / 2, centre + min_width / 2
        touches = confirmed = 0
        last_counted = None
        for p in sorted(c):
            if last_counted is None or p[0] - last_counted >= min_between:
                touches += 1
                confirmed += 1 if p[2] else 0
                last_counted = p[0]
        if touches < min_touches:
            continue
        margin = 0.25 * dist
        wt = sum(1 for w in weekly_prices if bottom - margin <= w <= top + margin)
        last_touch = max(p[0] for p in c)
        score = touches + 1.5 * wt + 0.5 * confirmed + (1 if n - 1 - last_touch <= 60 else 0)
        candidates.append(dict(bottom=bottom, top=top, touches=touches, weekly=wt,
                               confirmed=confirmed, score=score))
    merged = []
    for z in candidates:
        if merged and merged[-1]["top"] >= z["bottom"]:
            MERGES[0] += 1
            m = merged[-1]
            m["top"] = max(m["top"], z["top"])
            for key in ("touches", "weekly", "confirmed", "score"):
                m[key] += z[key]
        else:
            merged.append(dict(z))
    supports = [z for z in reversed(merged) if z["top"] < close or z["bottom"] <= close <= z["top"]]
    resistances = [z for z in merged if z["bottom"] > close]
    return a, supports[:max_side], resistances[:max_side]


def distance_from_high(bars, window, min_bars):
    out = [NAN] * len(bars)
    for i in range(min_bars - 1, len(bars)):
        high = max(b["high"] for b in bars[max(0, i - window + 1):i + 1])
        if high > 0:
            out[i] = (bars[i]["close"] / high - 1) * 100
    return out


def fr(value, decimals):
    return f"{value:.{decimals}f}".replace(".", ",")


def main():
    last = dt.date(2021, 2, 22)
    stock = load("AI.PA", dt.date(2019, 11, 22), last)
    index = load("^FCHI", dt.date(2019, 8, 22), last)
    closes = [b["close"] for b in stock]
    macd_line = [f - s for f, s in zip(ema(closes, 12), ema(closes, 26))]
    signal = ema(macd_line, 9)
    hist = [m - s for m, s in zip(macd_line, signal)]
    rsi14 = rsi(closes, 14)
    kind, cross = last_cross(hist)
    print("bars", len(stock), "first", stock[0]["date"], "index bars", len(index))
    print("macd %.17g signal %.17g hist %.17g rsi %.17g" % (macd_line[-1], signal[-1], hist[-1],
                                                             rsi14[-1]))
    summary = (f"AI.PA au {last:%d/%m/%Y} : cloture {fr(closes[-1], 2)} | MACD(12,26,9) quotidien"
               f" : MACD {fr(macd_line[-1], 3)}, signal {fr(signal[-1], 3)}, histogramme "
               f"{'+' if hist[-1] >= 0 else '-'}{fr(abs(hist[-1]), 3)}")
    if kind:
        summary += f" | dernier croisement {kind} le {stock[cross]['date']:%d/%m/%Y}"
    else:
        summary += " | aucun croisement sur la periode"
    zone_name = "survente" if rsi14[-1] <= 30 else "surachat" if rsi14[-1] >= 70 else "neutre"
    summary += f" | RSI(14) {fr(rsi14[-1], 1)} ({zone_name})"
    print("summary", summary)
    volumes = [float(b["volume"]) for b in stock]
    average = sma(volumes, 20)
    print("volume ratio %.17g" % (volumes[-1] / average[-2]))
    a, supports, resistances = zones(stock)
    print("atr %.17g" % a)
    for label, side in (("S", supports), ("R", resistances)):
        for rank, z in enumerate(side, 1):
            print("%s%d bottom %.17g top %.17g touches %d weekly %d confirmed %d score %.17g" % (
                label, rank, z["bottom"], z["top"], z["touches"], z["weekly"], z["confirmed"],
                z["score"]))
    icloses = [b["close"] for b in index]
    ma50 = sma(icloses, 50)
    irsi = rsi(icloses, 14)
    idist = distance_from_high(index, 252, 200)
    favourable = [not math.isnan(m) and c > m for c, m in zip(icloses, ma50)]
    phase = [not math.isnan(r) and (r < 40 or (not math.isnan(d) and d < -8))
             for r, d in zip(irsi, idist)]
    known = [not math.isnan(m) for m in ma50]
    in_period = [i for i, b in enumerate(index) if stock[0]["date"] <= b["date"] <= last]
    share = 100 * sum(favourable[i] for i in in_period if known[i]) / sum(known[i] for i in in_period)
    phase_share = 100 * sum(phase[i] for i in in_period) / len(in_period)
    print("index last favourable", favourable[-1], "phase", phase[-1],
          "distance %.17g" % idist[-1])
    print("favourable share %.17g phase share %.17g" % (share, phase_share))


def write_fixture():
    path = os.path.join(ROOT, "tests", "fixtures", "zones", "zone_reference.csv")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    ends = [dt.date(2018, 12, 31), dt.date(2020, 3, 31), dt.date(2021, 2, 22)]
    with open(path, "w", newline="") as f:
        out = csv.writer(f, lineterminator="\n")
        out.writerow(["symbol", "last", "bars", "atr", "zone", "bottom", "top", "touches",
                      "weekly", "confirmed", "score"])
        for file in sorted(glob.glob(os.path.join(ROOT, "data", "demo", "*.csv"))):
            symbol = os.path.basename(file)[:-4]
            for end in ends:
                for count in (320, 1500):
                    bars = load(symbol, dt.date(1900, 1, 1), end)[-count:]
                    if len(bars) < count:
                        continue
                    a, supports, resistances = zones(bars)
                    head = [symbol, end.isoformat(), count, "%.17g" % a]
                    close = bars[-1]["close"]
                    rows = [("S%d%s" % (rank, "*" if z["bottom"] <= close <= z["top"] else ""), z)
                            for rank, z in enumerate(supports, 1)]
                    rows += [("R%d" % rank, z) for rank, z in enumerate(resistances, 1)]
                    if not rows:
                        out.writerow(head + ["-", "", "", "", "", "", ""])
                    for label, z in rows:
                        out.writerow(head + [label, "%.17g" % z["bottom"], "%.17g" % z["top"],
                                             z["touches"], z["weekly"], z["confirmed"],
                                             "%.17g" % z["score"]])
    print("fixture written with", MERGES[0], "merges of touching zones")


if __name__ == "__main__":
    main()
    if "--fixture" in sys.argv:
        write_fixture()
