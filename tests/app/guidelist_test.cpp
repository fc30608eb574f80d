// The guide list: which programmes are listed under which local day, which one is on now, when
// the list reads differently next, and the widget following a channel and a changing guide.
#include "app/guidelist.h"
#include "app/guidelistmodel.h"

#include <QDateTime>
#include <QListWidget>
#include <QTest>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

const QTimeZone kBerlin("Europe/Berlin");

std::int64_t At(int y, int m, int d, int h, int min, const QTimeZone& zone = kBerlin)
{
    return QDateTime(QDate(y, m, d), QTime(h, min), zone).toSecsSinceEpoch();
}

Programme P(std::int64_t start, std::int64_t stop, const std::string& title)
{
    Programme p;
    p.start = start;
    p.stop = stop;
    p.title = title;
    return p;
}

// The rows as lines, headings in brackets, the one on now starred.
std::vector<std::string> Lines(const GuideListModel& model)
{
    std::vector<std::string> out;
    for (const auto& row : model.Rows()) {
        const std::string text = model.Text(row).toStdString();
        out.push_back(row.heading ? "[" + text + "]" : (row.current ? "*" : "") + text);
    }
    return out;
}

} // namespace

TEST(GuideListModel, DaysAreLocalAndAProgrammeOverMidnightStaysUnderItsStartDay)
{
    // Monday 7 December 2026, 22:30 in Berlin (21:30 UTC: the UTC date is the same, the local
    // midnight an hour before UTC's).
    const std::int64_t now = At(2026, 12, 7, 22, 30);
    const auto [from, to] = GuideListModel::Span(now, kBerlin);
    EXPECT_EQ(from, At(2026, 12, 7, 0, 0));
    EXPECT_EQ(to, At(2026, 12, 9, 0, 0));

    GuideListModel model;
    model.Show(QStringLiteral("Alpha"),
               {
                   P(At(2026, 12, 6, 23, 0), At(2026, 12, 7, 0, 30), "Night film"), // began yesterday
                   P(At(2026, 12, 7, 21, 0), At(2026, 12, 7, 22, 0), "Evening news"),
                   P(At(2026, 12, 7, 22, 0), At(2026, 12, 8, 0, 30), "Late show"),     // over midnight
                   P(At(2026, 12, 8, 0, 30), At(2026, 12, 8, 1, 0), "After midnight"), // 23:30 UTC on the 7th
                   P(At(2026, 12, 8, 23, 0), At(2026, 12, 9, 1, 0), "Last of tomorrow"),
                   P(At(2026, 12, 9, 0, 0), At(2026, 12, 9, 1, 0), "Day after"),   // not listed
                   P(At(2026, 12, 6, 20, 0), At(2026, 12, 6, 21, 0), "Yesterday"), // not listed
               },
               now, kBerlin);
    EXPECT_EQ(model.GetState(), GuideListModel::State::Listed);
    EXPECT_EQ(Lines(model), (std::vector<std::string>{
                                "[Today, Monday 7 December]",
                                "23:00  Night film",
                                "21:00  Evening news",
                                "*22:00  Late show",
                                "[Tomorrow, Tuesday 8 December]",
                                "00:30  After midnight",
                                "23:00  Last of tomorrow",
                            }));
    EXPECT_EQ(model.CurrentRow(), 3);
    EXPECT_EQ(model.RowStarting(At(2026, 12, 8, 0, 30)), 5);
    EXPECT_EQ(model.RowStarting(At(2026, 12, 9, 0, 0)), -1);
    // The late show ends after midnight: the day turning comes first.
    EXPECT_EQ(model.NextChange(), At(2026, 12, 8, 0, 0));
    EXPECT_EQ(model.Span(model.Rows()[3].programme).toStdString(), "22:00\u201300:30");
}

TEST(GuideListModel, TheDayOfAClockChangeHasItsOwnLength)
{
    // Sunday 29 March 2026: Berlin's clocks go from 02:00 to 03:00, the day has 23 hours.
    const std::int64_t now = At(2026, 3, 28, 12, 0);
    const auto [from, to] = GuideListModel::Span(now, kBerlin);
    EXPECT_EQ(to - from, (24 + 23) * 3600);
    GuideListModel model;
    model.Show(QStringLiteral("Alpha"),
               {P(At(2026, 3, 29, 1, 30), At(2026, 3, 29, 3, 30), "Across the change"),
                P(At(2026, 3, 29, 23, 30), At(2026, 3, 30, 0, 30), "Late")},
               now, kBerlin);
    EXPECT_EQ(Lines(model),
              (std::vector<std::string>{"[Tomorrow, Sunday 29 March]", "01:30  Across the change", "23:30  Late"}));
    EXPECT_EQ(model.CurrentRow(), -1);
    EXPECT_EQ(model.Span(model.Rows()[1].programme).toStdString(), "01:30\u201303:30");
    // Nothing on now: the next start is the next change.
    EXPECT_EQ(model.NextChange(), At(2026, 3, 29, 0, 0));
}

TEST(GuideListModel, OnNowIsTheLatestStartedAndAGapOrNoGuideMarksNothing)
{
    const std::int64_t now = At(2026, 12, 7, 12, 0);
    GuideListModel model;
    // Overlapping programmes: the later start is on now, as the channel card says.
    model.Show(QStringLiteral("Alpha"),
               {P(At(2026, 12, 7, 11, 0), At(2026, 12, 7, 13, 0), "Long"),
                P(At(2026, 12, 7, 11, 30), At(2026, 12, 7, 12, 30), "Inserted"),
                P(At(2026, 12, 7, 14, 0), At(2026, 12, 7, 14, 0), "No length")},
               now, kBerlin);
    EXPECT_EQ(Lines(model),
              (std::vector<std::string>{"[Today, Monday 7 December]", "11:00  Long", "*11:30  Inserted"}));
    EXPECT_EQ(model.NextChange(), At(2026, 12, 7, 12, 30));

    // A gap: the programme before ended, the next has not begun.
    model.Show(QStringLiteral("Alpha"),
               {P(At(2026, 12, 7, 10, 0), At(2026, 12, 7, 11, 0), "Before"),
                P(At(2026, 12, 7, 12, 15), At(2026, 12, 7, 13, 0), "After")},
               now, kBerlin);
    EXPECT_EQ(model.CurrentRow(), -1);
    EXPECT_EQ(model.NextChange(), At(2026, 12, 7, 12, 15));

    model.Show(QStringLiteral("Gamma"), {}, now, kBerlin);
    EXPECT_EQ(model.GetState(), GuideListModel::State::NoGuide);
    EXPECT_TRUE(model.Rows().empty());
    EXPECT_TRUE(model.Message().contains(QStringLiteral("no programme guide for Gamma")))
        << model.Message().toStdString();
    EXPECT_GT(model.NextChange(), now);
    model.Clear();
    EXPECT_EQ(model.GetState(), GuideListModel::State::NoChannel);
    EXPECT_FALSE(model.Message().isEmpty());
}

TEST(GuideList, FollowsTheChannelKeepsTheChosenProgrammeAndTellsItInFull)
{
    const std::int64_t now = QDateTime::currentSecsSinceEpoch();
    std::vector<Programme> alpha = {P(now - 1800, now + 1800, "On now"), P(now + 1800, now + 3600, "Next up")};
    alpha[0].subTitle = "Part <two>";
    alpha[0].category = "News";
    alpha[0].description = "What happened today.";
    std::vector<QString> asked;
    GuideList list(nullptr, [&](const QString& channel, std::int64_t from, std::int64_t to) {
        asked.push_back(channel);
        EXPECT_LE(from, now);
        EXPECT_GT(to, now);
        return channel == QLatin1String("Alpha") ? alpha : std::vector<Programme>{};
    });
    EXPECT_EQ(list.Model().GetState(), GuideListModel::State::NoChannel);

    list.SetChannel(QStringLiteral("Alpha"));
    ASSERT_EQ(list.Model().GetState(), GuideListModel::State::Listed);
    // The programme on now is chosen and told in full, its sub-title as text, not markup.
    EXPECT_EQ(list.ChosenLine(), list.Model().Span(alpha[0]) + QStringLiteral(" On now"));
    const QString details = list.Details();
    for (const char* part : {"On now", "Part <two>", "News", "What happened today."})
        EXPECT_TRUE(details.contains(QString::fromUtf8(part))) << details.toStdString();

    // The viewer chooses the next one; the guide is read again and it stays chosen.
    list.List()->setCurrentRow(list.Model().RowStarting(now + 1800));
    alpha.push_back(P(now + 3600, now + 7200, "Later"));
    list.Reload();
    EXPECT_EQ(list.ChosenLine(), list.Model().Span(alpha[1]) + QStringLiteral(" Next up"));
    // A heading is not a programme to choose.
    list.List()->setCurrentRow(0);
    EXPECT_TRUE(list.ChosenLine().isEmpty());

    list.SetChannel(QStringLiteral("Gamma"));
    EXPECT_EQ(list.Model().GetState(), GuideListModel::State::NoGuide);
    EXPECT_TRUE(list.ChosenLine().isEmpty());
    EXPECT_EQ(asked.back(), QStringLiteral("Gamma"));
}

TEST(GuideList, AClickOnAProgrammeTellsItInFull)
{
    const std::int64_t now = QDateTime::currentSecsSinceEpoch();
    std::vector<Programme> alpha = {P(now - 1800, now + 1800, "On now"), P(now + 1800, now + 3600, "Next up")};
    alpha[1].description = "Told when clicked.";
    GuideList list(nullptr, [&](const QString&, std::int64_t, std::int64_t) { return alpha; });
    list.resize(300, 400);
    list.show();
    list.SetChannel(QStringLiteral("Alpha"));
    QListWidgetItem* next = list.List()->item(list.Model().RowStarting(now + 1800));
    ASSERT_TRUE(next);
    QTest::mouseClick(list.List()->viewport(), Qt::LeftButton, {}, list.List()->visualItemRect(next).center());
    EXPECT_EQ(list.ChosenLine(), list.Model().Span(alpha[1]) + QStringLiteral(" Next up"));
    EXPECT_TRUE(list.Details().contains(QStringLiteral("Told when clicked."))) << list.Details().toStdString();
}

TEST(GuideListModel, OfAClumpTheFirstIsOnNowAsTheCardSays)
{
    const std::int64_t now = At(2026, 12, 7, 20, 10);
    GuideListModel model;
    model.Show(QStringLiteral("Alpha"),
               {P(At(2026, 12, 7, 20, 0), At(2026, 12, 7, 21, 0), "Film, English"),
                P(At(2026, 12, 7, 20, 0), At(2026, 12, 7, 21, 0), "Film, Welsh")},
               now, kBerlin);
    EXPECT_EQ(Lines(model),
              (std::vector<std::string>{"[Today, Monday 7 December]", "*20:00  Film, English", "20:00  Film, Welsh"}));
}

TEST(GuideListModel, AnArchiveListsItsDaysBackAndMarksWhatItStillHolds)
{
    const std::int64_t now = At(2026, 12, 7, 22, 30);
    const auto [from, to] = GuideListModel::Span(now, kBerlin, 2);
    EXPECT_EQ(from, At(2026, 12, 5, 0, 0));
    EXPECT_EQ(to, At(2026, 12, 9, 0, 0));
    GuideListModel model;
    model.Show(QStringLiteral("Alpha"),
               {
                   P(At(2026, 12, 5, 20, 0), At(2026, 12, 5, 21, 0), "Too old"), // more than 2 days ago
                   P(At(2026, 12, 6, 20, 0), At(2026, 12, 6, 21, 0), "Yesterday's"),
                   P(At(2026, 12, 7, 21, 0), At(2026, 12, 7, 22, 0), "Evening news"),
                   P(At(2026, 12, 7, 22, 0), At(2026, 12, 8, 0, 30), "Late show"),
                   P(At(2026, 12, 8, 0, 30), At(2026, 12, 8, 1, 0), "After midnight"),
               },
               now, kBerlin, 2);
    EXPECT_EQ(Lines(model), (std::vector<std::string>{
                                "[Saturday 5 December]",
                                "20:00  Too old",
                                "[Yesterday, Sunday 6 December]",
                                "20:00 \u21BA Yesterday's",
                                "[Today, Monday 7 December]",
                                "21:00 \u21BA Evening news",
                                "*22:00  Late show",
                                "[Tomorrow, Tuesday 8 December]",
                                "00:30  After midnight",
                            }));
    // The arrows pass the headings by, and stop at either end.
    EXPECT_EQ(model.ProgrammeRowFrom(1, 1), 3);
    EXPECT_EQ(model.ProgrammeRowFrom(6, 1), 8);
    EXPECT_EQ(model.ProgrammeRowFrom(3, -1), 1);
    EXPECT_EQ(model.ProgrammeRowFrom(1, -1), -1);
    EXPECT_EQ(model.ProgrammeRowFrom(8, 1), -1);
}

TEST(GuideList, ArrowsMoveFromProgrammeToProgrammeAndEnterAsksToPlay)
{
    const std::int64_t now = QDateTime::currentSecsSinceEpoch();
    // Yesterday's programme, one on now and one to come: three rows under two or three days.
    const std::vector<Programme> alpha = {P(now - 86400, now - 86400 + 1800, "Yesterday"),
                                          P(now - 1800, now + 1800, "On now"), P(now + 1800, now + 3600, "Next up")};
    GuideList list(nullptr, [&](const QString&, std::int64_t, std::int64_t) { return alpha; });
    std::vector<std::string> played;
    list.SetArchive([](const QString&) { return 3; },
                    [&](const QString& channel, const Programme& p) {
                        played.push_back(channel.toStdString() + ": " + p.title);
                        return p.start > now ? QStringLiteral("Starts later.") : QString();
                    });
    list.resize(300, 400);
    list.show();
    list.SetChannel(QStringLiteral("Alpha"));
    list.List()->setFocus();
    QTest::keyClick(list.List(), Qt::Key_Up);
    EXPECT_TRUE(list.ChosenLine().endsWith(QStringLiteral("Yesterday"))) << list.ChosenLine().toStdString();
    EXPECT_TRUE(list.Details().contains(QStringLiteral("from the archive")));
    QTest::keyClick(list.List(), Qt::Key_Return);
    QTest::keyClick(list.List(), Qt::Key_Down);
    QTest::keyClick(list.List(), Qt::Key_Down);
    EXPECT_TRUE(list.ChosenLine().endsWith(QStringLiteral("Next up")));
    QTest::keyClick(list.List(), Qt::Key_Return);
    EXPECT_EQ(played, (std::vector<std::string>{"Alpha: Yesterday", "Alpha: Next up"}));
    EXPECT_EQ(list.Note(), QStringLiteral("Starts later."));
}
