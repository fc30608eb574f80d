#pragma once

namespace quorvel {

// A place where a change of the catalogue and the database can be cut short. With
// QUORVEL_FAULT_AT=N in the environment the process ends at the N-th such place it passes
// (counted from 1), as a crash or a kill would end it: nothing flushed, nothing undone. The
// fault tests cut every change at each of its places in turn. Without it, nothing happens.
void FaultPoint();
// Whether the fault tests are cutting this run (writes are then made in small pieces, so that
// there are places to cut between them).
bool FaultsCounted();

} // namespace quorvel
