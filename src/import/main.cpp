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
    try {
        // The player's folders, decided as the player decides them.
        quorvel::ImportCommand command(
            quorvel::DataFolders::For(QCoreApplication::applicationDirPath().toStdString() + "/"), std::cout, std::cerr,
            ::isatty(STDERR_FILENO) == 1);
        command.SetInput(&std::cin, ::isatty(STDIN_FILENO) == 1);
        return command.Run(arguments);
    } catch (const std::exception& e) {
        std::cerr << "quorvel-import: " << e.what() << "\n";
        return 1;
    }
}
