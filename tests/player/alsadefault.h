#pragma once

#include "scratchdir.h"

#include <string>

// The sound system the player meets: no sound server (a developer's PipeWire or PulseAudio is
// out of reach, so nothing sounds aloud), and ALSA with the given default device, read from a
// file of its own instead of the machine's configuration.
class AlsaDefault {
public:
    explicit AlsaDefault(const std::string& config);
    ~AlsaDefault();
    AlsaDefault(const AlsaDefault&) = delete;
    AlsaDefault& operator=(const AlsaDefault&) = delete;

    // A default device that does not exist: no sound device at all.
    static constexpr const char* kNoDevice = "pcm.!default { type plug slave.pcm \"nowhere\" }\n";

private:
    ScratchDir dir_;
};
