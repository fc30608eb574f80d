#include "app/translations.h"
#include "skin/form/systemmenu.h"

#include <QLocale>
#include <QTranslator>

#include <gtest/gtest.h>
#include <memory>

using namespace quorvel;

namespace {

QStringList Captions()
{
    SystemMenu::State state;
    state.frameState = FrameState::Maximized;
    QStringList captions;
    for (const auto& item : SystemMenu::Items(state, nullptr))
        captions << item.caption;
    return captions;
}

} // namespace

TEST(Translations, EnglishLocalesReadTheWindowMenuInEnglishWithTheSameAccelerators)
{
    EXPECT_EQ(InstallTranslations(QLocale(QLocale::Chinese, QLocale::China)), nullptr);
    const QStringList chinese = Captions();
    EXPECT_TRUE(chinese.contains(QString::fromUtf8("关闭(&C)")));

    std::unique_ptr<QTranslator> english(InstallTranslations(QLocale(QLocale::English, QLocale::UnitedStates)));
    ASSERT_TRUE(english);
    const QStringList captions = Captions();
    EXPECT_EQ(captions, (QStringList{"Mi&nimize", "&Restore", "Ro&ll up", "-", "&Close"}));
    // Each item keeps its letter: N, R, L and C as in the original.
    EXPECT_EQ(chinese.size(), captions.size());

    english.reset();
    EXPECT_EQ(Captions(), chinese);
}

TEST(Translations, TheCAndPosixLocalesReadInEnglish)
{
    for (const char* name : {"C", "C.UTF-8", "POSIX"}) {
        std::unique_ptr<QTranslator> english(InstallTranslations(QLocale(QString::fromLatin1(name))));
        ASSERT_TRUE(english) << name;
        EXPECT_TRUE(Captions().contains(QStringLiteral("&Close"))) << name;
    }
    EXPECT_EQ(InstallTranslations(QLocale(QLocale::German, QLocale::Germany)), nullptr);
}
