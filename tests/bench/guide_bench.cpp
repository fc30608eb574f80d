// Reading a programme guide of 20,000 channels × 24 hours (about 480,000 programmes) for a
// catalogue of 20,000 channels, beside unpacking the same file and running expat over it with no
// handlers at all, in the same run; and how much the process's peak memory grows while the guide
// is read. The guide is written to a temporary folder first. Run it as
//   build/bench/bench_guide [runs]
// It reports; it does not judge.
#include "base/readtoend.h"
#include "guide/guidefile.h"
#include "guide/guidereader.h"
#include "scratchdir.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <expat.h>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <vector>
#include <zlib.h>

using namespace quorvel;

namespace {

constexpr int kChannels = 20000;
constexpr int kHours = 24;

std::string GuideTime(std::int64_t t)
{
    const std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm{};
    gmtime_r(&tt, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d%H%M%S +0000", &tm);
    return text;
}

// Words drawn by a small generator, so that the texts vary as a real guide's do and the packed
// file is about as large as theirs.
struct Words {
    std::uint64_t state = 88172645463325252ull;
    std::vector<std::string> words;
    Words()
    {
        const char* roots[] = {"news",   "film",   "river",  "city",    "night",    "story",   "world",
                               "music",  "game",   "garden", "journey", "market",   "science", "history",
                               "family", "winter", "summer", "ocean",   "mountain", "kitchen", "detective",
                               "island", "secret", "school", "train",   "light"};
        const char* ends[] = {"", "s", "ing", "er", "ed", "ly", "ness", "ful"};
        for (const char* r : roots)
            for (const char* e : ends)
                words.push_back(std::string(r) + e);
    }
    std::uint64_t Next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }
    void Append(std::string& out, int count)
    {
        for (int i = 0; i < count; ++i) {
            if (i)
                out += ' ';
            out += words[Next() % words.size()];
        }
    }
};

std::string ChannelId(int i) { return "ch" + std::to_string(i) + ".example.tv"; }
std::string ChannelName(int i) { return "Channel " + std::to_string(i); }

// Writes the guide packed; returns its unpacked size.
std::size_t WriteGuide(const std::string& path, std::int64_t now)
{
    gzFile out = gzopen(path.c_str(), "wb6");
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE tv SYSTEM \"xmltv.dtd\">\n"
                       "<tv generator-info-name=\"bench\">\n";
    std::size_t total = 0;
    auto flush = [&](bool force) {
        if (text.size() > (1 << 20) || force) {
            gzwrite(out, text.data(), static_cast<unsigned>(text.size()));
            total += text.size();
            text.clear();
        }
    };
    for (int c = 0; c < kChannels; ++c) {
        text += "  <channel id=\"" + ChannelId(c) + "\">\n    <display-name lang=\"en\">" + ChannelName(c) +
                "</display-name>\n    <icon src=\"http://127.0.0.1/logo/" + std::to_string(c) +
                ".png\" />\n  </channel>\n";
        flush(false);
    }
    Words words;
    const std::int64_t first = now - now % 3600 - 2 * 3600;
    for (int c = 0; c < kChannels; ++c) {
        for (int h = 0; h < kHours; ++h) {
            const std::int64_t start = first + std::int64_t(h) * 3600;
            text += "  <programme start=\"" + GuideTime(start) + "\" stop=\"" + GuideTime(start + 3600) +
                    "\" channel=\"" + ChannelId(c) + "\">\n    <title lang=\"en\">";
            words.Append(text, 3);
            text += "</title>\n    <sub-title lang=\"en\">Episode " + std::to_string(h + 1) + ": ";
            words.Append(text, 2);
            text += "</sub-title>\n    <desc lang=\"en\">";
            words.Append(text, 16);
            text += ".</desc>\n    <category lang=\"en\">";
            words.Append(text, 1);
            text += "</category>\n  </programme>\n";
            flush(false);
        }
    }
    text += "</tv>\n";
    flush(true);
    gzclose(out);
    return total;
}

// The catalogue: most channels named by tvg-id, every fourth only by its name.
std::vector<WantedChannel> Catalogue()
{
    std::vector<WantedChannel> wanted;
    for (int c = 0; c < kChannels; ++c)
        wanted.push_back(WantedChannel{ChannelName(c), c % 4 == 3 ? std::string() : ChannelId(c), {}, std::nullopt});
    return wanted;
}

// A store stands in: it looks at every programme it is given.
struct CountingSink : GuideSink {
    std::size_t programmes = 0;
    std::size_t bytes = 0;
    void Take(std::size_t, std::span<Programme> batch) override
    {
        programmes += batch.size();
        for (const Programme& p : batch)
            bytes += p.title.size() + p.subTitle.size() + p.description.size() + p.category.size();
    }
};

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The processor time the process has used: on a machine others share, wall time says as much
// about them as about us.
double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

struct Timing {
    double wall = 0;
    double cpu = 0;
};

// Unpacks the file and runs expat over it with nothing to call: the least any reader does.
Timing BareParse(const std::string& path)
{
    const auto begin = std::chrono::steady_clock::now();
    const double cpu = CpuSeconds();
    const int fd = ::open(path.c_str(), O_RDONLY);
    z_stream z{};
    inflateInit2(&z, 16 + MAX_WBITS);
    XML_Parser parser = XML_ParserCreate(nullptr);
    std::vector<char> out(1 << 17);
    ReadToEnd(fd, [&](const char* data, std::size_t size) {
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
        z.avail_in = static_cast<uInt>(size);
        do {
            z.next_out = reinterpret_cast<Bytef*>(out.data());
            z.avail_out = static_cast<uInt>(out.size());
            const int r = inflate(&z, Z_NO_FLUSH);
            XML_Parse(parser, out.data(), static_cast<int>(out.size() - z.avail_out), 0);
            if (r != Z_OK)
                break;
        } while (z.avail_in > 0 || z.avail_out == 0);
        return true;
    });
    XML_Parse(parser, "", 0, 1);
    XML_ParserFree(parser);
    inflateEnd(&z);
    ::close(fd);
    return {Seconds(begin), CpuSeconds() - cpu};
}

struct ReadRun {
    Timing time;
    GuideOutcome outcome;
    CountingSink sink;
};

void Read(const std::string& path, const std::vector<WantedChannel>& wanted, std::int64_t now, ReadRun& run)
{
    const auto begin = std::chrono::steady_clock::now();
    const double cpu = CpuSeconds();
    GuideReader::Options options;
    options.now = now;
    GuideReader reader(wanted, run.sink, options);
    run.outcome = ReadGuideFile(path, reader);
    run.time = {Seconds(begin), CpuSeconds() - cpu};
}

long StatusKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0)
            return std::atol(line.c_str() + prefix.size());
    return -1;
}

// Lets the peak resident size start again from what is resident now.
bool ResetPeak()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    ScratchDir dir;
    const std::string path = dir.File("guide.xml.gz");
    const std::int64_t now = std::time(nullptr);
    const auto writing = std::chrono::steady_clock::now();
    const std::size_t unpacked = WriteGuide(path, now);
    struct stat st { };
    ::stat(path.c_str(), &st);
    std::printf("guide: %d channels x %d hours, %.1f MB unpacked, %.1f MB packed (written in %.1f s)\n", kChannels,
                kHours, unpacked / 1e6, st.st_size / 1e6, Seconds(writing));
    const std::vector<WantedChannel> wanted = Catalogue();

    // Memory first, before any other run has left freed memory behind in the heap.
    const bool reset = ResetPeak();
    const long residentBefore = StatusKb("VmRSS");
    const long peakBefore = StatusKb("VmHWM");
    ReadRun first;
    Read(path, wanted, now, first);
    const long peakAfter = StatusKb("VmHWM");
    std::printf("read: %zu programmes of %zu channels (%zu matched), %s\n", first.outcome.programmes,
                first.outcome.channels, first.outcome.matched,
                first.outcome.complete ? "complete" : first.outcome.problem.c_str());
    std::printf("peak memory growth while reading: %.1f MB (resident before %.1f MB%s)\n",
                (peakAfter - (reset ? residentBefore : peakBefore)) / 1024.0, residentBefore / 1024.0,
                reset ? "" : "; peak not reset, growth over the earlier peak");

    std::vector<double> bareWall, bareCpu, readWall, readCpu;
    auto note = [](std::vector<double>& wall, std::vector<double>& cpu, Timing t) {
        wall.push_back(t.wall);
        cpu.push_back(t.cpu);
    };
    note(readWall, readCpu, first.time);
    for (int i = 0; i < runs; ++i) {
        note(bareWall, bareCpu, BareParse(path));
        if (i + 1 < runs || runs == 1) {
            ReadRun run;
            Read(path, wanted, now, run);
            note(readWall, readCpu, run.time);
        }
    }
    std::printf("unpack + bare expat parse: median %.2f s processor, %.2f s wall, of %zu runs\n", Median(bareCpu),
                Median(bareWall), bareCpu.size());
    std::printf("read for the catalogue:    median %.2f s processor, %.2f s wall, of %zu runs\n", Median(readCpu),
                Median(readWall), readCpu.size());
    std::printf("read / bare parse: %.2fx processor, %.2fx wall\n", Median(readCpu) / Median(bareCpu),
                Median(readWall) / Median(bareWall));
    return 0;
}
