#!/usr/bin/env python3
"""Runs the generator on the example definition and compares its output with
the kept goldens. `--update` rewrites the goldens instead."""

import filecmp
import subprocess
import sys
import tempfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
GENERATOR = HERE.parent / "conjure_gen.py"
EXAMPLE = HERE / "example"


def generate(out: Path) -> None:
    subprocess.run([sys.executable, str(GENERATOR), "--api", str(EXAMPLE / "api"), "--out", str(out),
                    "--units", "2"], check=True)


def files(root: Path) -> set:
    return {p.relative_to(root) for p in root.rglob("*") if p.is_file()}


def main() -> int:
    golden = EXAMPLE / "golden"
    if "--update" in sys.argv:
        generate(golden)
        return 0
    with tempfile.TemporaryDirectory() as tmp:
        out = Path(tmp)
        generate(out)
        expected, actual = files(golden), files(out)
        problems = [f"missing: {p}" for p in sorted(expected - actual)]
        problems += [f"unexpected: {p}" for p in sorted(actual - expected)]
        problems += [f"differs: {p}" for p in sorted(expected & actual)
                     if not filecmp.cmp(golden / p, out / p, shallow=False)]
    for p in problems:
        print(p)
    if problems:
        print("generator output changed; review it and run check_goldens.py --update")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
