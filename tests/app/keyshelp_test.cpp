#include "app/keyshelp.h"

#include <QDialog>
#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

using namespace quorvel;

TEST(KeysHelp, OnlyHomeIsTakenFromTheWholeDesktop)
{
    QWidget window;
    ShowKeysHelp(&window);
    auto* help = window.findChild<QDialog*>(QStringLiteral("KeysHelp"));
    ASSERT_TRUE(help);
    const QString keys = help->findChild<QLabel*>(QStringLiteral("KeysTable"))->text();
    const qsizetype desktop = keys.indexOf(QStringLiteral("Anywhere on the desktop"));
    ASSERT_GE(desktop, 0);
    const QString global = keys.mid(desktop);
    EXPECT_TRUE(global.contains(QStringLiteral(">Home<")));
    EXPECT_FALSE(global.contains(QStringLiteral(">F1<")));
    EXPECT_TRUE(keys.left(desktop).contains(QStringLiteral(">F1<")));
    help->close();
}
