#include "player/digitentry.h"

namespace quorvel {

std::optional<int> DigitEntry::Type(int digit, std::int64_t now)
{
    if (digit < 0 || digit > 9)
        return std::nullopt;
    digits_.push_back(static_cast<char>('0' + digit));
    lastTyped_ = now;
    if (static_cast<int>(digits_.size()) >= kMaxDigits)
        return Commit();
    return std::nullopt;
}

std::optional<int> DigitEntry::Due(std::int64_t now)
{
    if (!Active() || now < Deadline())
        return std::nullopt;
    return Commit();
}

std::optional<int> DigitEntry::Commit()
{
    if (!Active())
        return std::nullopt;
    int number = 0;
    for (const char c : digits_)
        number = number * 10 + (c - '0'); // at most kMaxDigits digits: no overflow
    digits_.clear();
    return number;
}

void DigitEntry::Cancel() { digits_.clear(); }

} // namespace quorvel
