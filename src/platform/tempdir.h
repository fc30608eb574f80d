#pragma once

#include <string>

namespace quorvel {

// The user's own temporary directory, ending in "/", whole however long: the session's
// runtime directory when it is private to the user, else a folder "quorvel-<uid>" made private
// in the system's temporary directory. Never a folder another user owns or could have planted.
// Empty when no such directory can be had.
std::string UserTempDir();

} // namespace quorvel
