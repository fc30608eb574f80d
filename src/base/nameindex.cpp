#include "base/nameindex.h"

#include <cstring>

namespace quorvel {
namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighs = 0x8080808080808080ull;

// "A" to "Z" become "a" to "z" in all eight bytes at once; every other byte stays.
std::uint64_t Lower8(std::uint64_t w)
{
    const std::uint64_t low7 = w & ~kHighs;
    const std::uint64_t atLeastA = low7 + (0x80 - 'A') * kOnes;
    const std::uint64_t aboveZ = low7 + (0x80 - 'Z' - 1) * kOnes;
    return w | (((atLeastA & ~aboveZ & ~w) & kHighs) >> 2);
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(const char* a, const char* b, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        if (a[i] != b[i] && Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

std::uint64_t Mix(std::uint64_t h)
{
    h ^= h >> 32;
    h *= 0xD6E8FEB86659FD93ull;
    h ^= h >> 29;
    return h;
}

} // namespace

NameIndex::NameIndex(bool ignoreCase) : ignoreCase_(ignoreCase) { }

std::uint64_t NameIndex::Hash(std::string_view base, std::string_view suffix) const
{
    std::string_view name = base;
    if (!suffix.empty()) {
        joined_.assign(base.begin(), base.end());
        joined_.insert(joined_.end(), suffix.begin(), suffix.end());
        name = std::string_view(joined_.data(), joined_.size());
    }
    // Eight bytes a step: names are hashed once per line of a file of a hundred thousand.
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ (name.size() * 0xFF51AFD7ED558CCDull);
    const char* p = name.data();
    std::size_t n = name.size();
    auto step = [this, &h](std::uint64_t w) {
        if (ignoreCase_)
            w = Lower8(w);
        h = (h ^ w) * 0xC2B2AE3D27D4EB4Full;
        h ^= h >> 31;
    };
    for (; n >= 8; p += 8, n -= 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        step(w);
    }
    // The last one to seven bytes, read without a byte-by-byte copy (the length is in the
    // hash already, so two reads that overlap are as good as one).
    if (n >= 4) {
        std::uint32_t first;
        std::uint32_t last;
        std::memcpy(&first, p, 4);
        std::memcpy(&last, p + n - 4, 4);
        step(first | (std::uint64_t(last) << 32));
    } else if (n > 0) {
        const auto byte = [p](std::size_t i) { return std::uint64_t(static_cast<unsigned char>(p[i])); };
        step(byte(0) | (byte(n / 2) << 8) | (byte(n - 1) << 16));
    }
    return Mix(h);
}

void NameIndex::Reserve(std::size_t more)
{
    const std::size_t wanted = (names_.size() + more) * 2;
    if (wanted > slots_.size())
        Grow(wanted);
    names_.reserve(names_.size() + more);
}

void NameIndex::Grow(std::size_t wanted)
{
    std::size_t size = 16;
    while (size < wanted)
        size *= 2;
    slots_.assign(size, Slot{});
    const std::size_t mask = size - 1;
    for (std::size_t at = 0; at < names_.size(); ++at) {
        // The slot keeps only the hash's high half: the place comes from hashing again.
        const std::uint64_t hash = Hash(names_[at].name);
        std::size_t i = hash & mask;
        while (slots_[i].at != 0)
            i = (i + 1) & mask;
        slots_[i] = Slot{static_cast<std::uint32_t>(at + 1), static_cast<std::uint32_t>(hash >> 32)};
    }
}

bool NameIndex::Same(std::string_view name, std::string_view base, std::string_view suffix) const
{
    if (name.size() != base.size() + suffix.size())
        return false;
    if (!ignoreCase_)
        return (base.empty() || std::memcmp(name.data(), base.data(), base.size()) == 0) &&
               (suffix.empty() || std::memcmp(name.data() + base.size(), suffix.data(), suffix.size()) == 0);
    return EqualIgnoringCase(name.data(), base.data(), base.size()) &&
           EqualIgnoringCase(name.data() + base.size(), suffix.data(), suffix.size());
}

std::size_t NameIndex::SlotOf(std::uint64_t hash, std::string_view base, std::string_view suffix) const
{
    const std::size_t mask = slots_.size() - 1;
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.at == 0 || (slot.tag == tag && Same(names_[slot.at - 1].name, base, suffix)))
            return i;
    }
}

void NameIndex::Prefetch(std::uint64_t hash) const
{
    if (!slots_.empty())
        __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
}

std::uint32_t NameIndex::Find(std::uint64_t hash, std::string_view base, std::string_view suffix) const
{
    if (names_.empty())
        return npos;
    const Slot& slot = slots_[SlotOf(hash, base, suffix)];
    return slot.at == 0 ? npos : names_[slot.at - 1].value;
}

std::uint32_t NameIndex::Insert(std::uint64_t hash, std::string_view name, std::uint32_t value)
{
    if ((names_.size() + 1) * 2 > slots_.size())
        Grow((names_.size() + 1) * 2);
    Slot& slot = slots_[SlotOf(hash, name, {})];
    if (slot.at != 0)
        return names_[slot.at - 1].value;
    names_.push_back(Name{name, value});
    slot = Slot{static_cast<std::uint32_t>(names_.size()), static_cast<std::uint32_t>(hash >> 32)};
    return value;
}

} // namespace quorvel
