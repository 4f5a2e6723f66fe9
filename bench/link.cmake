velorin_bench(link_roundtrip link_roundtrip.cpp benchsupport.h)
velorin_bench(link_memory_read link_memory_read.cpp benchsupport.h)
velorin_bench(worker_idle_cpu worker_idle_cpu.cpp benchsupport.h)
velorin_bench(lock_latency lock_latency.cpp benchsupport.h)
