#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quorvel {

// A channel number typed over the picture, digit by digit, as on a television's remote: the
// number counts once typing stops for kPauseMs, on Enter, or at once when it has all its digits.
// No clock of its own: the caller says what time it is (milliseconds on any steady clock).
class DigitEntry {
public:
    static constexpr int kMaxDigits = 5;
    static constexpr std::int64_t kPauseMs = 1500;

    // Takes a digit (0–9; anything else is ignored). Returns the number when this digit
    // completes it; the entry is then empty again.
    std::optional<int> Type(int digit, std::int64_t now);
    // The number, when typing has stopped long enough by now; the entry is then empty again.
    std::optional<int> Due(std::int64_t now);
    // Enter: the number typed so far, at once.
    std::optional<int> Commit();
    void Cancel();

    bool Active() const { return !digits_.empty(); }
    // The digits as typed, leading zeros and all.
    const std::string& Digits() const { return digits_; }
    // When the number counts unless another digit comes; meaningless while not active.
    std::int64_t Deadline() const { return lastTyped_ + kPauseMs; }

private:
    std::string digits_;
    std::int64_t lastTyped_ = 0;
};

} // namespace quorvel
