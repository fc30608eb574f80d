#pragma once

namespace quorvel {

class ViewerConnection;

// Brings the viewer's database up to the latest schema version from the one it has (0 for a
// new file), inside the caller's write transaction. A file from a newer program is left as it
// stands: versions only ever add. Throws ViewerConnection::SqlFailure.
void MigrateSchema(const ViewerConnection& db);

} // namespace quorvel
