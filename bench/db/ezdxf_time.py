#!/usr/bin/python3
"""Times the independent DXF library on the same drawing: read, write, peak memory."""
import resource
import sys
import time

import ezdxf

path = sys.argv[1]
t0 = time.perf_counter()
doc = ezdxf.readfile(path)
t1 = time.perf_counter()
doc.saveas("/tmp/bench_ezdxf_out.dxf")
t2 = time.perf_counter()
peak = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024
print(f"ezdxf    read {t1 - t0:.3f} s  write {t2 - t1:.3f} s  peak memory {peak:.0f} MB")
