#pragma once

#include "guide/guideoutcome.h"

#include <atomic>
#include <string>

namespace quorvel {

class GuideReader;

// Reads the guide file at path through the reader, chunk by chunk, and finishes it. A file that
// cannot be opened or read says so in the outcome; what was read before a failed read is kept.
// Setting *cancel (from any thread) ends the read early, as a failed read.
GuideOutcome ReadGuideFile(const std::string& path, GuideReader& reader, const std::atomic<bool>* cancel = nullptr);

} // namespace quorvel
