// Sound tracks read from mpv's track list, and what the control bar calls them.
#include "player/mpvtracklist.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

using namespace quorvel;

namespace {

// A track list as mpv hands it over, built from the test's own storage.
class TrackListNode {
public:
    struct Track {
        const char* type;
        int64_t id;
        const char* lang;  // null: no such key
        const char* title; // null: no such key
        bool selected;
    };

    explicit TrackListNode(const std::vector<Track>& tracks)
    {
        for (const Track& t : tracks) {
            Map& m = maps_.emplace_back();
            Text(m, "type", t.type);
            mpv_node id{};
            id.format = MPV_FORMAT_INT64;
            id.u.int64 = t.id;
            Add(m, "id", id);
            if (t.lang)
                Text(m, "lang", t.lang);
            if (t.title)
                Text(m, "title", t.title);
            mpv_node sel{};
            sel.format = MPV_FORMAT_FLAG;
            sel.u.flag = t.selected ? 1 : 0;
            Add(m, "selected", sel);
        }
        for (Map& m : maps_) {
            m.list = mpv_node_list{static_cast<int>(m.values.size()), m.values.data(), m.keys.data()};
            mpv_node n{};
            n.format = MPV_FORMAT_NODE_MAP;
            n.u.list = &m.list;
            entries_.push_back(n);
        }
        list_ = mpv_node_list{static_cast<int>(entries_.size()), entries_.data(), nullptr};
        node_.format = MPV_FORMAT_NODE_ARRAY;
        node_.u.list = &list_;
    }

    const mpv_node& Node() const { return node_; }

private:
    struct Map {
        std::vector<char*> keys;
        std::vector<mpv_node> values;
        mpv_node_list list{};
    };
    void Add(Map& m, const char* key, mpv_node value)
    {
        m.keys.push_back(const_cast<char*>(key));
        m.values.push_back(value);
    }
    void Text(Map& m, const char* key, const char* text)
    {
        mpv_node n{};
        n.format = MPV_FORMAT_STRING;
        n.u.string = const_cast<char*>(text);
        Add(m, key, n);
    }

    std::deque<Map> maps_;
    std::vector<mpv_node> entries_;
    mpv_node_list list_{};
    mpv_node node_{};
};

} // namespace

TEST(MpvTrackList, SoundTracksOnlyInTheirOrder)
{
    const TrackListNode list({{"video", 1, nullptr, nullptr, true},
                              {"audio", 1, "eng", "Main", false},
                              {"sub", 1, "eng", nullptr, false},
                              {"audio", 2, "deu", nullptr, true},
                              {"audio", 3, nullptr, nullptr, false}});
    const AudioTracks tracks = AudioTracksIn(list.Node());
    ASSERT_EQ(tracks.size(), 3u);
    EXPECT_EQ(tracks[0], (AudioTrack{1, QStringLiteral("eng"), QStringLiteral("Main"), false}));
    EXPECT_EQ(tracks[1], (AudioTrack{2, QStringLiteral("deu"), QString(), true}));
    EXPECT_EQ(tracks[2], (AudioTrack{3, QString(), QString(), false}));
}

TEST(MpvTrackList, NodesOfAnotherShapeGiveNothing)
{
    mpv_node none{};
    EXPECT_TRUE(AudioTracksIn(none).empty());
    mpv_node text{};
    text.format = MPV_FORMAT_STRING;
    text.u.string = const_cast<char*>("audio");
    EXPECT_TRUE(AudioTracksIn(text).empty());
    mpv_node emptyArray{};
    emptyArray.format = MPV_FORMAT_NODE_ARRAY; // no list at all
    EXPECT_TRUE(AudioTracksIn(emptyArray).empty());
    // An entry without a whole-number id is no track one could choose.
    const TrackListNode list({{"audio", 1, "eng", nullptr, true}});
    mpv_node_list* entries = list.Node().u.list;
    mpv_node_list* first = entries->values[0].u.list;
    first->values[1].format = MPV_FORMAT_STRING;
    first->values[1].u.string = const_cast<char*>("1");
    EXPECT_TRUE(AudioTracksIn(list.Node()).empty());
}

TEST(AudioTrackLabel, LanguageInWordsThenTitleElseNumber)
{
    EXPECT_EQ(AudioTrackLabel({1, QStringLiteral("eng"), QString(), false}), QStringLiteral("English"));
    EXPECT_EQ(AudioTrackLabel({1, QStringLiteral("de"), QStringLiteral("Kommentar"), false}),
              QStringLiteral("German — Kommentar"));
    EXPECT_EQ(AudioTrackLabel({1, QStringLiteral("eng"), QStringLiteral("english"), false}), QStringLiteral("English"));
    EXPECT_EQ(AudioTrackLabel({1, QStringLiteral("xx9"), QString(), false}), QStringLiteral("xx9"));
    EXPECT_EQ(AudioTrackLabel({4, QString(), QStringLiteral("Director"), false}), QStringLiteral("Director"));
    EXPECT_EQ(AudioTrackLabel({4, QString(), QString(), false}), QStringLiteral("Track 4"));
}
