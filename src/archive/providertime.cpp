#include "archive/providertime.h"

#include <algorithm>
#include <ctime>

namespace quorvel {

namespace {

// 9999-12-31 23:59:59 UTC: the last moment with a four-digit year.
constexpr std::int64_t kLatest = 253402300799;
constexpr std::int64_t kDay = 86400;

} // namespace

CivilTime ProviderCivilTime(std::int64_t unixTime, int offsetMinutes)
{
    // Clamped first, so that adding the offset cannot overflow.
    const std::int64_t t = std::clamp<std::int64_t>(
        std::clamp<std::int64_t>(unixTime, 0, kLatest) + std::int64_t{offsetMinutes} * 60, 0, kLatest);
    // Days since 1970 to a date of the proleptic Gregorian calendar, counted in eras of 400 years
    // from 0000-03-01 so that the leap day ends each year.
    const std::int64_t z = t / kDay + 719468;
    const std::int64_t era = z / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    CivilTime civil;
    civil.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    civil.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    civil.year = static_cast<int>(yearOfEra + era * 400 + (civil.month <= 2 ? 1 : 0));
    const std::int64_t second = t % kDay;
    civil.hour = static_cast<int>(second / 3600);
    civil.minute = static_cast<int>(second / 60 % 60);
    civil.second = static_cast<int>(second % 60);
    return civil;
}

int LocalOffsetMinutes(std::int64_t unixTime)
{
    const auto t = static_cast<std::time_t>(std::clamp<std::int64_t>(unixTime, 0, kLatest));
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr)
        return 0;
    return static_cast<int>(local.tm_gmtoff / 60);
}

int ProviderOffsetMinutes(const Catchup& catchup, std::int64_t start, int guideShiftMinutes)
{
    return LocalOffsetMinutes(start) + catchup.correctionMinutes + guideShiftMinutes;
}

} // namespace quorvel
