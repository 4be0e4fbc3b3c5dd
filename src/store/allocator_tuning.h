#pragma once
// Every refresh of the entry list reads the whole data file again. By default the C library
// hands a large freed block (the file's bytes) back to the system and then faults it in
// again on the next load, which costs more than the reading itself for large logs. The
// program keeps that memory.

namespace odrivo {

// Call once at the start of main().
void keepFreedMemoryForReloads();

} // namespace odrivo
