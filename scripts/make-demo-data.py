#!/usr/bin/env python3
"""Builds data/demo/ from full CAC 40 daily histories.

Keeps every row of each file (April 2006 to February 2021, so that a ten-year backtest has its
year of warm-up) and writes prices with at most four decimals, which
removes the single-precision noise of the original export while keeping every row as it was
(holiday rows with zero volume and inconsistent bars included).

Usage: scripts/make-demo-data.py SOURCE_FOLDER [DEST_FOLDER]
"""
import csv
import pathlib
import sys


def clean(value: str) -> str:
    if value in ("", "null"):
        return value
    text = f"{round(float(value), 4):.4f}".rstrip("0").rstrip(".")
    return text if text != "-0" else "0"


def main() -> None:
    source = pathlib.Path(sys.argv[1])
    dest = pathlib.Path(sys.argv[2]) if len(sys.argv) > 2 else pathlib.Path("data/demo")
    dest.mkdir(parents=True, exist_ok=True)
    for path in sorted(source.glob("*.csv")):
        with path.open(newline="") as handle:
            rows = list(csv.reader(handle))
        header, body = rows[0], rows[1:]
        kept = body
        price_columns = {header.index(n) for n in ("Open", "High", "Low", "Close")}
        with (dest / path.name).open("w", newline="") as handle:
            writer = csv.writer(handle, lineterminator="\n")
            writer.writerow(header)
            for row in kept:
                writer.writerow([clean(v) if i in price_columns else v for i, v in enumerate(row)])


if __name__ == "__main__":
    main()
