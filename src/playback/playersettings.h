#pragma once

namespace quorvel {

class MpvCore;

// The player's settings object: what the program reads and writes of the sound.
class PlayerSettings {
public:
    explicit PlayerSettings(MpvCore& core) : core_(core) { }

    bool Mute() const;
    void SetMute(bool muted);
    // The volume, 0 to 100 as the control bar shows it.
    int Volume() const;
    void SetVolume(int volume);

private:
    MpvCore& core_;
};

} // namespace quorvel
