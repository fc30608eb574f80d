// Recordings' file names, and a recording that cannot start.
#include "playback/mpvcore.h"
#include "playback/streamrecorder.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using quorvel::StreamRecorder;

TEST(StreamRecorder, FileNamesStayInTheFolderAndOnEveryDisk)
{
    const QDateTime at(QDate(2026, 3, 7), QTime(20, 5));
    EXPECT_EQ(StreamRecorder::FileName("News 24", "Evening news", at),
              QString::fromUtf8("News 24 – Evening news – 2026-03-07 20-05.ts"));
    // No programme known: the name goes without it.
    EXPECT_EQ(StreamRecorder::FileName("News 24", "  ", at), QString::fromUtf8("News 24 – 2026-03-07 20-05.ts"));
    // Nothing of a name leads elsewhere or makes a name another disk refuses.
    const QString odd = StreamRecorder::FileName("../../etc/x", "A:B*C?\n\"D\"<E>|F\\G", at);
    EXPECT_FALSE(odd.contains('/'));
    EXPECT_FALSE(odd.startsWith('.'));
    for (const QChar c : QStringLiteral(":*?\"<>|\\\n"))
        EXPECT_FALSE(odd.contains(c)) << odd.toStdString();
    EXPECT_FALSE(StreamRecorder::FileName("", "", at).startsWith(QString::fromUtf8(" –")));
}

TEST(StreamRecorder, AFolderThatCannotBeWrittenSaysSoAndRecordsNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A folder below a file cannot be made, not even by root.
    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString locked = dir.filePath("file/recordings");
    quorvel::MpvCore core(QStringLiteral("null"));
    StreamRecorder recorder(core);
    recorder.SetFolder(locked);
    QSignalSpy failed(&recorder, &StreamRecorder::failed);
    EXPECT_FALSE(recorder.Start("News", "", 0));
    EXPECT_FALSE(recorder.Recording());
    ASSERT_EQ(failed.size(), 1);
    EXPECT_TRUE(failed.first().first().toString().startsWith("Cannot record:"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"file"});
}
