#include "catalogue/channelfinder.h"

#include <QStringMatcher>

namespace quorvel {

ChannelFinder::ChannelFinder(const std::vector<std::vector<QString>>& channels)
{
    std::size_t count = 0;
    qsizetype chars = 0;
    for (const auto& names : channels) {
        count += names.size();
        for (const auto& n : names)
            chars += n.size() + 1;
    }
    names_.reserve(chars);
    begin_.reserve(count + 1);
    category_.reserve(count);
    position_.reserve(count);
    for (std::size_t c = 0; c < channels.size(); ++c) {
        for (std::size_t i = 0; i < channels[c].size(); ++i) {
            begin_.push_back(static_cast<std::uint32_t>(names_.size()));
            category_.push_back(static_cast<std::uint32_t>(c));
            position_.push_back(static_cast<std::uint32_t>(i));
            // Names never hold line breaks (the catalogue is made of lines), so '\n' cannot
            // be part of a match that spans two names.
            names_ += channels[c][i].toCaseFolded();
            names_ += QLatin1Char('\n');
        }
    }
    begin_.push_back(static_cast<std::uint32_t>(names_.size()));
}

const std::vector<ChannelFinder::Match>& ChannelFinder::Find(const QString& text)
{
    QString needle = text.toCaseFolded();
    needle.remove(QLatin1Char('\n'));
    if (searched_ && needle == lastNeedle_)
        return matches_;
    // What matches the longer text matched the shorter one too.
    if (searched_ && !lastNeedle_.isEmpty() && needle.contains(lastNeedle_))
        Narrow(needle);
    else
        Scan(needle);
    lastNeedle_ = needle;
    searched_ = true;
    matches_.clear();
    matches_.reserve(found_.size());
    for (const std::uint32_t i : found_)
        matches_.push_back(Match{category_[i], position_[i]});
    return matches_;
}

void ChannelFinder::Scan(const QString& needle)
{
    found_.clear();
    const std::size_t count = category_.size();
    if (needle.isEmpty()) {
        found_.resize(count);
        for (std::size_t i = 0; i < count; ++i)
            found_[i] = static_cast<std::uint32_t>(i);
        return;
    }
    // One pass over all names at once; after a hit, go on at the next name.
    const QStringMatcher matcher(needle, Qt::CaseSensitive);
    std::size_t channel = 0;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = matcher.indexIn(names_, from);
        if (at < 0)
            break;
        while (begin_[channel + 1] <= static_cast<std::uint32_t>(at))
            ++channel;
        found_.push_back(static_cast<std::uint32_t>(channel));
        from = begin_[channel + 1];
        ++channel;
        if (channel >= count)
            break;
    }
}

void ChannelFinder::Narrow(const QString& needle)
{
    const QStringMatcher matcher(needle, Qt::CaseSensitive);
    std::size_t kept = 0;
    for (const std::uint32_t i : found_) {
        const QStringView name(names_.constData() + begin_[i], begin_[i + 1] - begin_[i] - 1);
        if (matcher.indexIn(name) >= 0)
            found_[kept++] = i;
    }
    found_.resize(kept);
}

} // namespace quorvel
