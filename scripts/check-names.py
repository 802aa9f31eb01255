#!/usr/bin/env python3
"""Lists the headers of src/ that are not named after what they define, so a reader finds a class
or a routine from its file name.

A header passes when it defines a class, struct or enumeration named after it (FOO.h defines FOO,
TFOO, EFOO or IFOO) or declares a routine whose name holds its own (MACD.h declares ComputeMACD).
Two kinds of header have nothing to be named after and pass as they are:
- a layer's chief header, which only includes the headers other layers need;
- a header of free routines alone (no class or struct), named after what its routines do.
The exceptions below are headers whose types belong together under the name of their common
subject; each says why. Prints one line per header that fails and exits 1 when there is one."""
import os
import re
import sys

EXCEPTIONS = {
    'core/Exceptions.h': 'the exception hierarchy, EFinanceError and its four kinds',
    'core/Formatting.h': "the message and number formatter with its settings and argument types",
    'backtest/BatchRun.h': 'the loop every batch run shares: its pacing, progress and cancel types',
    'chart/ChartGeometry.h': 'the geometry of the chart: pixel rectangles, panels, time axis, layout',
    'chart/PictureKit.h': "what a run's pictures share: margins, panel headers, legends, scales, grids",
    'chart/ChartDrawing.h': "the drawing kit the chart's layers share: painter, text box, candles, arrows",
    'cli/Commands.h': "each subcommand's options with the routine that runs it",
    'cli/TerminalOutput.h': "what the command line writes to a terminal: its line ends, the terminal test",
    'parsing/HtmlScan.h': 'the scan of HTML markup: element spans and the rows of a table',
    'ui/BatchTasks.h': "the window's batch runs: their snapshot, feedback and outcome of each kind",
    'ui/MessageBox.h': "the window's message boxes: their kinds and the presenter tests replace",
    'ui/ResultsWindow.h': 'the layout and buttons the two results windows share',
}

TYPE = re.compile(r'^(?:class|struct|enum class|enum)\s+(\w+)(?:\s+final)?\s*(?::[^;{]*)?\{', re.M)
ROUTINE = re.compile(r'^(?!\s|#|//|using|namespace|\})[^;(=\n]*?\b(\w+)\(', re.M)
CODE = re.compile(r'^(?!\s*(#|//|$)).', re.M)


def fault(path, stem):
    """Why the header at path is not named after what it defines, or None."""
    with open(path, encoding='utf-8') as f:
        text = f.read()
    if not CODE.search(text):
        return None  # a chief header: includes only
    types = TYPE.findall(text)
    if not types:
        return None  # free routines alone
    if any(t == stem or (t[:1] in 'TEI' and t[1:] == stem) for t in types):
        return None
    if any(stem in r for r in ROUTINE.findall(text)):
        return None
    return 'defines ' + ', '.join(types)


def main(root):
    faults = 0
    src = os.path.join(root, 'src')
    for folder, _, files in sorted(os.walk(src)):
        for name in sorted(f for f in files if f.endswith('.h')):
            path = os.path.join(folder, name)
            relative = os.path.relpath(path, src)
            if relative in EXCEPTIONS:
                continue
            why = fault(path, name[:-2])
            if why:
                faults += 1
                print(f'src/{relative}: {why}')
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')))
