// Draws the application icon, as the window shows it, into a PNG file of the given size.
//   quorvel-iconpng <file.png> <size>
#include "app/appicons.h"

#include <QGuiApplication>

#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    QGuiApplication app(argc, argv);
    const int size = std::atoi(argv[2]);
    if (size <= 0)
        return 2;
    return quorvel::ApplicationIcon().pixmap(size, size).save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
