#pragma once

namespace quorvel {

class MpvCore;

// The player's settings object: what the program reads and writes of the sound.
class PlayerSettings {
public:
    explicit PlayerSettings(MpvCore& core) : core_(core) {}

    bool Mute() const;
    void SetMute(bool muted);

private:
    MpvCore& core_;
};

} // namespace quorvel
