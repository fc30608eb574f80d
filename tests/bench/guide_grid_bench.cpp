// The guide grid over a provider's full guide: 20,000 channels × 7 days (about 3.4 million
// programmes) in the viewer's database. It measures, as medians over several openings,
// from the key to the grid painted against the same window drawing only its channel column;
// a page of scrolling (down a screen of channels, or on a screen of time) to it painted; and
// the resident memory the open grid adds. Run it under an X server (tests/harness/with-xvfb):
//   build/bench/bench_guide_grid [FOLDER]
// The guide is written into FOLDER (default /tmp/quorvel-grid-bench) once and read from there
// on later runs. With --show CHOICE DAY it opens the window at 1280×800 over a small guide for
// screenshots instead (CHOICE: 0 all channels, 1 favourites; DAY: 0 today, 1 tomorrow) and
// stays open until killed. It reports; it does not judge.
#include "guidegrid/guidegridview.h"
#include "guidegrid/guidewindow.h"
#include "guidegrid/reminders.h"
#include "scratchdir.h"
#include "userdata/favouritesstore.h"
#include "userdata/guidestorewriter.h"
#include "userdata/viewerdatabase.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

using namespace quorvel;

namespace {

constexpr int kChannels = 20000;
constexpr int kDays = 7;
constexpr int kOpenings = 7;
constexpr int kPages = 300;
const char* const kCategories[] = {"News", "Sports", "Films", "Series", "Kids", "Music", "Documentaries", "Lifestyle"};
const char* const kTitles[] = {"Morning News",     "The Weather",           "Football Tonight",
                               "Cooking with Ana", "Nature's Way",          "Late Film: The Long Road",
                               "Kids' Club",       "World Business",        "Top 40",
                               "Quiz Hour",        "Documentary: Deep Sea", "Evening News",
                               "Talk of the Town", "Classic Concert"};
constexpr int kLengths[] = {30, 45, 60, 60, 90, 30, 120, 25, 35};

long ResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

std::string ChannelName(int c) { return "Channel " + std::to_string(c + 1); }

// The catalogue and the guide: channels spread over the categories, programmes of varied
// lengths from half a day back to a week on. Odd guides on a few channels of the shots.
void WriteGuide(const std::string& folder, int channels, int days, std::int64_t now, bool odd)
{
    std::string text = "[Layer1]\n";
    for (const char* c : kCategories)
        text += std::string(c) + "=\n";
    text += "\n[Layer2]\n";
    std::vector<std::string> names;
    for (int c = 0; c < channels; ++c) {
        names.push_back(ChannelName(c));
        text += names.back() + "=" + kCategories[c % std::size(kCategories)] + "\n";
    }
    text += "\n[Programs]\n";
    for (const std::string& n : names)
        text += n + "=http://127.0.0.1/" + std::to_string(&n - names.data()) + "\n";
    ScratchDir::Spit(folder + "/VisibleAPI.dat", text);

    GuideStoreWriter writer(folder + "/viewer.db", names, "guide.xml", now);
    const std::int64_t begin = now / 1800 * 1800 - 12 * 3600;
    for (int c = 0; c < channels; ++c) {
        std::vector<Programme> list;
        std::int64_t at = begin - (c % 4) * 600;
        int i = c;
        while (at < begin + days * 86400) {
            Programme p;
            p.start = at;
            p.stop = at + kLengths[i % std::size(kLengths)] * 60;
            p.title = kTitles[(i * 7 + c) % std::size(kTitles)];
            p.subTitle = "Part " + std::to_string(i % 9 + 1);
            p.description = "An hour of the kind of thing this channel shows, told in a line or two as guides do.";
            p.category = kCategories[c % std::size(kCategories)];
            at = p.stop;
            ++i;
            list.push_back(std::move(p));
        }
        if (odd && c >= 2 && c <= 5) {
            const std::int64_t t = now / 1800 * 1800;
            std::erase_if(list, [&](const Programme& p) { return p.start < t + 48 * 3600 && p.stop > t - 4 * 3600; });
            auto add = [&](std::int64_t s, std::int64_t e, const char* title) {
                Programme p;
                p.start = s;
                p.stop = e;
                p.title = title;
                list.push_back(p);
                std::sort(list.begin(), list.end(),
                          [](const Programme& a, const Programme& b) { return a.start < b.start; });
            };
            if (c == 2) { // an overlap: the first is cut at the second's start
                add(t - 3600, t + 2 * 3600, "Overlapping Film");
                add(t + 1800, t + 3 * 3600, "Starts Inside It");
            } else if (c == 3) { // a gap
                add(t - 3600, t, "Before The Gap");
                add(t + 2 * 3600, t + 3 * 3600, "After The Gap");
            } else if (c == 4) { // no length
                add(t - 1800, t + 1800, "Around The Nothing");
                add(t + 900, t + 900, "Zero Length");
                add(t + 1800, t + 3 * 3600, "After The Nothing");
            } else { // two days
                add(t - 3 * 3600, t + 45 * 3600, "Marathon Of Two Days");
            }
        }
        writer.Take(static_cast<std::size_t>(c), list);
    }
    writer.Finish(GuideOutcome{});
    if (!writer.Failure().empty())
        std::fprintf(stderr, "%s\n", writer.Failure().c_str());
}

// Waits until the widget painted (an event filter raises the flag after its paint event).
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* w) : widget_(w) { w->installEventFilter(this); }
    ~PaintWatch() override
    {
        if (widget_)
            widget_->removeEventFilter(this);
    }
    void Reset() { painted_ = false; }
    void Wait()
    {
        while (!painted_)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            painted_ = true;
        return false;
    }

private:
    QPointer<QWidget> widget_;
    bool painted_ = false;
};

QImage Logo()
{
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(40, 110, 200));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 6, 28, 20), 5, 5);
    p.setPen(Qt::white);
    p.drawText(QRectF(2, 6, 28, 20), Qt::AlignCenter, QStringLiteral("TV"));
    return image;
}

GuideWindow* Open(const std::string& catalogue, bool channelsOnly, const QImage& logo)
{
    auto* window = new GuideWindow(catalogue);
    window->View().SetChannelsOnly(channelsOnly);
    window->SetNumbers([](const QString& name) { return name.mid(8).toInt(); });
    window->SetLogos([logo](const QString&, int) { return logo; });
    window->setGeometry(0, 0, 1280, 800);
    return window;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double Percentile(std::vector<double> v, double share)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[std::min(v.size() - 1, std::size_t(share * double(v.size())))];
}

int Show(int choice, int day)
{
    QDir().mkpath(QStringLiteral("/tmp/quorvel-grid-shots"));
    const std::string folder = "/tmp/quorvel-grid-shots";
    const std::int64_t now = QDateTime::currentSecsSinceEpoch();
    if (!QFile::exists(QString::fromStdString(folder + "/viewer.db"))) {
        WriteGuide(folder, 300, 3, now, true);
        ViewerDatabase db(folder + "/viewer.db");
        FavouritesStore favourites(db);
        for (int c : {2, 0, 3, 4, 5, 12, 41})
            favourites.AddFavourite({"", "", ChannelName(c), ""});
    }
    static Reminders reminders(folder + "/VisibleAPI.dat");
    reminders.Start();
    GuideWindow* window = Open(folder + "/VisibleAPI.dat", false, Logo());
    window->SetReminders(&reminders);
    window->Choose(choice);
    if (window->Channels().Count() > 2)
        window->SetPlaying(window->Channels().At(2).name);
    window->show();
    if (day != 0)
        window->ShowDay(day);
    else
        window->View().Select(1, now);
    // A reminder on a programme to come in sight.
    window->View().Select(0, now + 2 * 3600 + (day ? 86400 : 0));
    if (window->View().Selected().programme &&
        !reminders.Has(window->Channels().At(0).name, window->View().Selected().cell.start))
        window->ToggleReminder();
    window->View().Select(1, now + (day ? 86400 : 0));
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc >= 4 && std::string(argv[1]) == "--show")
        return Show(std::atoi(argv[2]), std::atoi(argv[3]));
    const std::string folder = argc > 1 ? argv[1] : "/tmp/quorvel-grid-bench";
    QDir().mkpath(QString::fromStdString(folder));
    const std::string catalogue = folder + "/VisibleAPI.dat";
    const std::int64_t now = QDateTime::currentSecsSinceEpoch();
    const std::string made = folder + "/made";
    // A guide written more than a day ago has scrolled out of its week: written anew.
    const bool fresh = QFile::exists(QString::fromStdString(made)) && std::stoll(ScratchDir::Slurp(made)) > now - 86400;
    if (!fresh) {
        QFile::remove(QString::fromStdString(folder + "/viewer.db"));
        QElapsedTimer writing;
        writing.start();
        WriteGuide(folder, kChannels, kDays, now, false);
        ScratchDir::Spit(made, std::to_string(now));
        std::printf("guide written: %d channels × %d days in %.1f s\n", kChannels, kDays, writing.elapsed() / 1000.0);
    }
    {
        ViewerDatabase db(folder + "/viewer.db");
        GuideStore store(db);
        (void)store.End();
    }
    const QImage logo = Logo();
    const long residentBase = ResidentKb();

    // From the key to the window painted: the grid, and the channel column alone, in turns.
    std::vector<double> grid, column;
    for (int i = 0; i < 2 * kOpenings; ++i) {
        const bool only = i % 2 == 1;
        QElapsedTimer t;
        t.start();
        GuideWindow* window = Open(catalogue, only, logo);
        PaintWatch painted(window->View().viewport());
        window->show();
        painted.Wait();
        (only ? column : grid).push_back(t.nsecsElapsed() / 1e6);
        window->close();
        delete window;
        QApplication::processEvents();
    }

    // A page of scrolling: down a screen of channels, and on a screen of time, each painted.
    GuideWindow* window = Open(catalogue, false, logo);
    PaintWatch painted(window->View().viewport());
    window->show();
    painted.Wait();
    const long residentOpen = ResidentKb();
    GuideGridView& view = window->View();
    std::vector<double> down, across;
    std::mt19937 random(11);
    for (int i = 0; i < kPages; ++i) {
        if (i % 50 == 0) // somewhere else in the list now and then, as a viewer dragging the bar
            view.verticalScrollBar()->setValue(int(random() % unsigned(view.verticalScrollBar()->maximum())));
        const bool time = i % 3 == 2;
        QElapsedTimer t;
        painted.Reset();
        t.start();
        if (time) {
            view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->value() +
                                                 view.horizontalScrollBar()->pageStep());
        } else {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
            QApplication::sendEvent(&view, &key);
        }
        painted.Wait();
        (time ? across : down).push_back(t.nsecsElapsed() / 1e6);
        if (view.ViewStart() > view.RangeLast() - 86400)
            view.ShowTime(now);
    }
    std::vector<double> pages = down;
    pages.insert(pages.end(), across.begin(), across.end());
    const long residentScrolled = ResidentKb();

    std::printf("key to painted, median of %d: grid %.1f ms, channel column only %.1f ms (ratio %.2f)\n", kOpenings,
                Median(grid), Median(column), Median(grid) / std::max(0.001, Median(column)));
    std::printf("  the first opening (the guide's pages not yet read): grid %.1f ms, channel column only %.1f ms\n",
                grid.front(), column.front());
    std::printf("a page of scrolling painted (%d pages): median %.1f ms, p99 %.1f ms\n", kPages, Median(pages),
                Percentile(pages, 0.99));
    std::printf("  down a screen of channels: median %.1f ms, p99 %.1f ms\n", Median(down), Percentile(down, 0.99));
    std::printf("  on a screen of time: median %.1f ms, p99 %.1f ms\n", Median(across), Percentile(across, 0.99));
    std::printf("resident memory: %.1f MB before, +%.1f MB with the grid open, +%.1f MB after scrolling\n",
                residentBase / 1024.0, (residentOpen - residentBase) / 1024.0,
                (residentScrolled - residentBase) / 1024.0);
    delete window;
    return 0;
}
