#pragma once
// Every refresh of the entry list reads the whole data file again. By default the C library
// hands large freed blocks back to the system and then faults them in again on the next
// load, which for large logs costs more than the reading itself. The program keeps them.

namespace odrivo {

// Call once at the start of main().
void keepFreedMemoryForReloads();

} // namespace odrivo
