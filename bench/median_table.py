"""Prints the medians of a Google Benchmark JSON report (read on stdin) as one table."""
import json
import sys

UNIT_MS = {"ns": 1e6, "us": 1e3, "ms": 1.0, "s": 1e-3}
SKIP = {"name", "run_name", "run_type", "repetitions", "repetition_index", "threads", "iterations",
        "real_time", "cpu_time", "time_unit", "aggregate_name", "aggregate_unit", "family_index",
        "per_family_instance_index", "error_occurred", "error_message"}

report = json.load(sys.stdin)
rows = [b for b in report["benchmarks"] if b.get("aggregate_name") == "median"]
width = max(len(b["run_name"]) for b in rows)
print(f"{'benchmark (median)':<{width}}  {'time':>12}  counters")
for b in rows:
    ms = b["real_time"] / UNIT_MS[b["time_unit"]]
    extra = ", ".join(f"{k}={v:,.2f}" for k, v in b.items() if k not in SKIP and isinstance(v, (int, float)))
    print(f"{b['run_name']:<{width}}  {ms:>9.3f} ms  {extra}")
