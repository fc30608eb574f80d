#include "guidetext.h"

#include "guide/guidereader.h"

#include <ctime>
#include <stdexcept>
#include <zlib.h>

namespace quorvel::test {

std::string GuideTime(int minutesFromNow)
{
    const std::time_t t = static_cast<std::time_t>(kNow + std::int64_t(minutesFromNow) * 60);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d%H%M%S +0000", &tm);
    return text;
}

std::string ProgrammeXml(const std::string& channel, int startMinutes, int stopMinutes, const std::string& title)
{
    std::string xml = "<programme start=\"" + GuideTime(startMinutes) + "\"";
    if (stopMinutes != kNoStop)
        xml += " stop=\"" + GuideTime(stopMinutes) + "\"";
    return xml + " channel=\"" + channel + "\"><title lang=\"en\">" + title + "</title></programme>\n";
}

std::string ChannelXml(const std::string& id, const std::vector<std::string>& displayNames)
{
    std::string xml = "<channel id=\"" + id + "\">";
    for (const std::string& name : displayNames)
        xml += "<display-name>" + name + "</display-name>";
    return xml + "</channel>\n";
}

std::string Tv(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tv>\n" + body + "</tv>\n";
}

std::string Gzip(const std::string& bytes)
{
    z_stream s{};
    if (deflateInit2(&s, 6, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::string out(deflateBound(&s, bytes.size()), '\0');
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    s.avail_in = static_cast<uInt>(bytes.size());
    s.next_out = reinterpret_cast<Bytef*>(out.data());
    s.avail_out = static_cast<uInt>(out.size());
    if (deflate(&s, Z_FINISH) != Z_STREAM_END)
        throw std::runtime_error("deflate");
    out.resize(s.total_out);
    deflateEnd(&s);
    return out;
}

std::vector<std::string> ReadResult::Titles(std::size_t channel) const
{
    std::vector<std::string> titles;
    for (const Programme& p : list.Of(channel))
        titles.push_back(p.title);
    return titles;
}

ReadResult ReadGuide(const std::string& bytes, const std::vector<WantedChannel>& wanted, std::size_t chunk,
                     double shiftHours)
{
    ReadResult result;
    GuideReader::Options options;
    options.now = kNow;
    options.shiftHours = shiftHours;
    GuideReader reader(wanted, result.list, options);
    for (std::size_t at = 0; at < bytes.size(); at += chunk)
        if (!reader.Feed(bytes.data() + at, std::min(chunk, bytes.size() - at)))
            break;
    result.outcome = reader.Finish();
    return result;
}

} // namespace quorvel::test
