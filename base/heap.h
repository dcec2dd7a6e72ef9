// How the process heap treats memory it gets back.
#pragma once

// Keeps freed heap memory in the process for the next allocations instead of
// handing it back to the system, and takes large blocks from the heap too.
// Loading a project or a stage allocates hundreds of thousands of small
// blocks; when the memory of an earlier load (or of a save) has been given
// back, every one of them faults in a fresh page again, which makes a load
// after editing several times slower than the first one. Small blocks are
// merged back into the heap as they are freed rather than all at once later.
// Call once at the
// start of a program; a no-op where the C library has no such setting.
void KeepFreedHeapMemory();
