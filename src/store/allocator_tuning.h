#pragma once
// Every refresh of the entry list frees the whole log and reads it again. By default the
// C library hands freed memory back to the system and then faults it in again on the next
// load, which costs more than the load itself for large logs. The program keeps that memory.

namespace odrivo {

// Call once at the start of main().
void keepFreedMemoryForReloads();

} // namespace odrivo
