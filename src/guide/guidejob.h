#pragma once

#include "guide/guidereader.h"
#include "guide/guidesink.h"
#include "guide/wantedchannel.h"

#include <QString>

#include <memory>
#include <vector>

namespace quorvel {

// One guide to read: where it is, for which channels, and the sink its programmes go to. The
// sink is called on the loader's worker thread.
struct GuideJob {
    QString location; // a file path, a "file:" address, or an "http:"/"https:" address
    std::vector<WantedChannel> wanted;
    GuideReader::Options options;
    std::shared_ptr<GuideSink> sink;
    int timeoutMs = 30000; // longest wait for any sign of the server
};

} // namespace quorvel
