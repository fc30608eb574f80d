// quorvel-import: adds the channels of an M3U playlist to the player's catalogue.
#include "import/importcommand.h"

#include <QCoreApplication>
#include <QStringList>
#include <iostream>
#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvel-import"));
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    quorvel::ImportCommand command(QCoreApplication::applicationDirPath().toStdString() + "/", std::cout, std::cerr,
                                   ::isatty(STDERR_FILENO) == 1);
    return command.Run(arguments);
}
