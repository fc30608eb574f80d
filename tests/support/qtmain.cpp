// Test entry for tests that need a Qt application object.
#include <QApplication>

#include <clocale>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Quorvel Online TV v1.12"));
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
