// A playlist of 100,000 channels in 200 groups, each step beside a plain read and line split of
// the same file in the same run: importing it (read, parse, merge, write the catalogue), Load
// filling the tree from the resulting catalogue, and one keystroke of the find box over that
// tree (its median is what a viewer feels while typing). Needs a display: run it as
//   tests/harness/with-xvfb build/bench/bench_import --benchmark_repetitions=9
#include "app/channeltreeview.h"
#include "app/findbox.h"
#include "app/form1.h"
#include "catalogue/channelfinder.h"
#include "channelmodel/channelmodel.h"
#include "import/catalogueimport.h"
#include "import/m3uplaylist.h"
#include "import/playlistsource.h"
#include "plainread.h"
#include "platform/profilestore.h"
#include "scratchdir.h"

#include <QApplication>
#include <QLineEdit>
#include <QTreeView>

#include <benchmark/benchmark.h>
#include <clocale>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace quorvel;

namespace {

ScratchDir& Dir()
{
    static ScratchDir dir;
    return dir;
}

const std::string& PlaylistFile()
{
    static const std::string file = [] {
        static const char* words[] = {"News", "Sport", "Movies", "Музыка", "音乐", "Kids", "Docs", "Weather"};
        std::string text = "#EXTM3U x-tvg-url=\"http://127.0.0.1:8080/epg.xml.gz\"\n";
        for (int i = 0; i < 100000; ++i) {
            const std::string n = std::to_string(i);
            text += "#EXTINF:-1 tvg-id=\"ch" + n + ".tv\" tvg-logo=\"http://127.0.0.1:8080/logo/" + n +
                    ".png\" group-title=\"Group " + std::to_string(i % 200) + "\",Channel " + n + " " + words[i % 8] +
                    " HD\n#EXTVLCOPT:http-user-agent=Mozilla/5.0\nhttp://127.0.0.1:8080/live/" + n + "/index.m3u8\n";
        }
        const std::string path = Dir().File("big.m3u");
        ScratchDir::Spit(path, text);
        return path;
    }();
    return file;
}

// What the catalogue looks like after the import: built once, outside any timing.
const std::string& ProgramDir()
{
    static const std::string dir = [] {
        const std::string programDir = Dir().File("program");
        ::mkdir(programDir.c_str(), 0755);
        PlaylistSource source(QString::fromStdString(PlaylistFile()));
        const QByteArray bytes = source.Read({});
        CatalogueImport import(programDir + "/VisibleAPI.dat");
        import.Add(M3uPlaylist(std::string_view(bytes.constData(), bytes.size()), source.Base()));
        import.Write();
        return programDir + "/";
    }();
    return dir;
}

void PlaylistPlainReadAndSplit(benchmark::State& state) { quorvel::bench::ReadAndSplit(state, PlaylistFile()); }

// What quorvel-import does, into a catalogue that is not there yet.
void ImportIntoNewCatalogue(benchmark::State& state)
{
    const std::string catalogue = Dir().File("import.dat");
    for (auto _ : state) {
        state.PauseTiming();
        ::unlink(catalogue.c_str());
        state.ResumeTiming();
        PlaylistSource source(QString::fromStdString(PlaylistFile()));
        const QByteArray bytes = source.Read({});
        CatalogueImport import(catalogue);
        import.Add(M3uPlaylist(std::string_view(bytes.constData(), bytes.size()), source.Base()));
        import.Write();
    }
}

// The same playlist again into the catalogue it made: every channel found, nothing written.
void ImportAgain(benchmark::State& state)
{
    const std::string catalogue = ProgramDir() + "VisibleAPI.dat";
    for (auto _ : state) {
        PlaylistSource source(QString::fromStdString(PlaylistFile()));
        const QByteArray bytes = source.Read({});
        CatalogueImport import(catalogue);
        import.Add(M3uPlaylist(std::string_view(bytes.constData(), bytes.size()), source.Base()));
        benchmark::DoNotOptimize(import.HasChanges());
    }
}

void CataloguePlainReadAndSplit(benchmark::State& state)
{
    quorvel::bench::ReadAndSplit(state, ProgramDir() + "VisibleAPI.dat");
}

// The window goes before the application does (main ends it): a window left to the static
// destructors would outlive the application and crash the run at its end.
std::unique_ptr<Form1>& WindowSlot()
{
    static std::unique_ptr<Form1> form;
    return form;
}

Form1& Window()
{
    std::unique_ptr<Form1>& form = WindowSlot();
    if (!form) {
        form = std::make_unique<Form1>(ProgramDir(), QStringLiteral("null"));
        form->show();
        QApplication::processEvents();
    }
    return *form;
}

// Load as the window runs it at start, each time from a cold read of the file.
void LoadFillsTheTree(benchmark::State& state)
{
    Form1& form = Window();
    for (auto _ : state) {
        state.PauseTiming();
        form.TreeView1->Channels().Clear();
        ProfileStore::Forget();
        state.ResumeTiming();
        form.Load(QStringLiteral("WebTV"));
    }
    int channels = 0;
    const ChannelModel& model = form.TreeView1->Channels();
    for (int i = 0; i < model.CategoryCount(); ++i)
        channels += model.ChannelCount(i);
    state.counters["channels"] = channels;
}

// What a viewer waits for on opening a category of 500 channels the first time.
void OpeningACategory(benchmark::State& state)
{
    Form1& form = Window();
    for (auto _ : state) {
        state.PauseTiming();
        form.TreeView1->Channels().Clear();
        ProfileStore::Forget();
        form.Load(QStringLiteral("WebTV"));
        QApplication::processEvents();
        state.ResumeTiming();
        form.TreeView1->expand(form.TreeView1->Channels().Category(100));
        form.TreeView1->viewport()->repaint();
    }
    form.TreeView1->Channels().Clear();
    form.Load(QStringLiteral("WebTV"));
}

// Load and every category made at once, as the tree was filled before categories made their
// channels on first need: the work no start-up does any more.
void LoadAndMakeEveryChannel(benchmark::State& state)
{
    Form1& form = Window();
    for (auto _ : state) {
        state.PauseTiming();
        form.TreeView1->Channels().Clear();
        ProfileStore::Forget();
        state.ResumeTiming();
        form.Load(QStringLiteral("WebTV"));
        ChannelModel& model = form.TreeView1->Channels();
        for (int i = 0; i < model.CategoryCount(); ++i)
            model.MakeChannels(model.Category(i));
    }
    form.TreeView1->Channels().Clear();
    form.Load(QStringLiteral("WebTV"));
}

// One keystroke in the find box: filtering, the narrowed tree rebuilt, and its visible rows drawn.
// before: the text already there; typed: the text after the keystroke.
void FindBoxKeystroke(benchmark::State& state, const char* before, const char* typed)
{
    Form1& form = Window();
    FindBox& box = *form.FindBox1;
    box.Open(QString());
    for (auto _ : state) {
        state.PauseTiming();
        box.Edit()->setText(QString::fromUtf8(before));
        state.ResumeTiming();
        box.Edit()->setText(QString::fromUtf8(typed));
        box.Results()->viewport()->repaint();
    }
    box.Close();
}

void FinderOnly(benchmark::State& state, const char* before, const char* typed)
{
    std::vector<std::vector<QString>> channels(200);
    static const char* words[] = {"News", "Sport", "Movies", "Музыка", "音乐", "Kids", "Docs", "Weather"};
    for (int i = 0; i < 100000; ++i)
        channels[i % 200].push_back(QStringLiteral("Channel %1 %2 HD").arg(i).arg(QString::fromUtf8(words[i % 8])));
    ChannelFinder finder(channels);
    for (auto _ : state) {
        state.PauseTiming();
        finder.Find(QString::fromUtf8(before));
        state.ResumeTiming();
        benchmark::DoNotOptimize(finder.Find(QString::fromUtf8(typed)).size());
    }
}

} // namespace

BENCHMARK(PlaylistPlainReadAndSplit)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportIntoNewCatalogue)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportAgain)->Unit(benchmark::kMillisecond);
BENCHMARK(CataloguePlainReadAndSplit)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadFillsTheTree)->Unit(benchmark::kMillisecond);
BENCHMARK(OpeningACategory)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadAndMakeEveryChannel)->Unit(benchmark::kMillisecond);
// The first letter: every channel is looked at and nearly all of them match.
BENCHMARK_CAPTURE(FindBoxKeystroke, first_letter_c, "", "c")->Unit(benchmark::kMillisecond);
// A rare text typed fresh: every channel looked at, few shown.
BENCHMARK_CAPTURE(FindBoxKeystroke, fresh_9999, "", "9999")->Unit(benchmark::kMillisecond);
// Typing on: only the last matches are looked at.
BENCHMARK_CAPTURE(FindBoxKeystroke, typing_on_музыка, "муз", "музы")->Unit(benchmark::kMillisecond);
// Deleting a letter: a fresh search again.
BENCHMARK_CAPTURE(FindBoxKeystroke, backspace_to_channel_1, "channel 12", "channel 1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FinderOnly, first_letter_c, "", "c")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FinderOnly, fresh_9999, "", "9999")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    WindowSlot().reset();
    return 0;
}
