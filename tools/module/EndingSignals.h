#pragma once

// Blocks SIGINT, SIGTERM and SIGHUP in the calling thread and in every thread it starts later,
// and returns a descriptor that becomes readable when one arrives (-1 on failure), so that the
// program ends through its destructors and takes its port file away.
int blockEndingSignals();
