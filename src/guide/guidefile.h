#pragma once

#include "guide/guideoutcome.h"

#include <string>

namespace quorvel {

class GuideReader;

// Reads the guide file at path through the reader, chunk by chunk, and finishes it. A file that
// cannot be opened or read says so in the outcome; what was read before a failed read is kept.
GuideOutcome ReadGuideFile(const std::string& path, GuideReader& reader);

} // namespace quorvel
