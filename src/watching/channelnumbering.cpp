#include "watching/channelnumbering.h"

namespace quorvel {

ChannelNumbering::~ChannelNumbering() = default;

} // namespace quorvel
