#include "app/keyshelp.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvel {

namespace {

struct KeyLine {
    const char* keys;
    const char* what;
};

struct KeyGroup {
    const char* title;
    std::initializer_list<KeyLine> lines;
};

QString KeysTable()
{
    const KeyGroup groups[] = {
        {QT_TRANSLATE_NOOP("KeysHelp", "Over the picture (click it first) and in full screen"),
         {{"Space", QT_TRANSLATE_NOOP("KeysHelp", "Pause and resume; a live channel goes on where it paused")},
          {"F, F11", QT_TRANSLATE_NOOP("KeysHelp", "Full screen on and off; a double click too")},
          {"M", QT_TRANSLATE_NOOP("KeysHelp", "Sound off and on")},
          {"I", QT_TRANSLATE_NOOP("KeysHelp", "What is on now and next, from the programme guide")},
          {"Up, Down", QT_TRANSLATE_NOOP("KeysHelp", "Volume; the mouse wheel too")},
          {"Left, Right", QT_TRANSLATE_NOOP("KeysHelp", "Ten seconds back or on, where the stream allows it")},
          {"End", QT_TRANSLATE_NOOP("KeysHelp", "Back to live after a pause")},
          {"Esc, Backspace", QT_TRANSLATE_NOOP("KeysHelp", "From the archive back to the channel live")},
          {"0 … 9", QT_TRANSLATE_NOOP("KeysHelp", "A channel by its number; Enter to go at once")},
          {"Page Up, Page Down", QT_TRANSLATE_NOOP("KeysHelp", "The channel before or after in its category")},
          {"Esc", QT_TRANSLATE_NOOP("KeysHelp", "Drop a number being typed; leave full screen")}}},
        {QT_TRANSLATE_NOOP("KeysHelp", "In the channel list"),
         {{"Up, Down", QT_TRANSLATE_NOOP("KeysHelp", "The channel before or after, playing at once")},
          {"Right, Left", QT_TRANSLATE_NOOP("KeysHelp", "Open or close a category")},
          {"Ctrl+F", QT_TRANSLATE_NOOP("KeysHelp", "Find a channel; or just type its name")},
          {"Ctrl+D", QT_TRANSLATE_NOOP("KeysHelp", "Add the channel to Favourites, or take it away")},
          {"Ctrl+G", QT_TRANSLATE_NOOP("KeysHelp", "The channel's programmes today and tomorrow; again for the list")},
          {"Backspace", QT_TRANSLATE_NOOP("KeysHelp", "The channel before, and back again (over the picture too)")},
          {QT_TRANSLATE_NOOP("KeysHelp", "Right click"),
           QT_TRANSLATE_NOOP("KeysHelp", "Add, refresh or remove playlists")}}},
        {QT_TRANSLATE_NOOP("KeysHelp", "Anywhere in the window"),
         {{"F1", QT_TRANSLATE_NOOP("KeysHelp", "These keys")},
          {"Ctrl+Shift+G",
           QT_TRANSLATE_NOOP("KeysHelp", "The guide as a grid: every channel against time, in a window of its own")},
          {"Ctrl+R", QT_TRANSLATE_NOOP("KeysHelp", "Record the channel playing; again to stop")}}},
        // Home alone is taken from the whole desktop; F1 reaches the program only while its window is active.
        {QT_TRANSLATE_NOOP("KeysHelp", "Anywhere on the desktop"),
         {{"Home", QT_TRANSLATE_NOOP("KeysHelp", "Hide the window and its sound; again to bring both back")}}},
    };
    QString html = QStringLiteral("<table cellspacing='0' cellpadding='3'>");
    for (const KeyGroup& group : groups) {
        html +=
            QStringLiteral("<tr><td colspan='2' style='color:#6fb3ff; font-weight:bold; padding-top:8px'>%1</td></tr>")
                .arg(QCoreApplication::translate("KeysHelp", group.title).toHtmlEscaped());
        for (const KeyLine& line : group.lines)
            html += QStringLiteral("<tr><td style='color:#ffffff; font-weight:bold; padding-right:14px'>%1</td>"
                                   "<td style='color:#c8d3e6'>%2</td></tr>")
                        .arg(QCoreApplication::translate("KeysHelp", line.keys).toHtmlEscaped(),
                             QCoreApplication::translate("KeysHelp", line.what).toHtmlEscaped());
    }
    return html + QStringLiteral("</table>");
}

} // namespace

void ShowKeysHelp(QWidget* parent)
{
    if (auto* open = parent->findChild<QDialog*>(QStringLiteral("KeysHelp"))) {
        open->raise();
        open->activateWindow();
        return;
    }
    auto* dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("KeysHelp"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(
        QCoreApplication::translate("KeysHelp", "Keys - %1").arg(QApplication::applicationDisplayName()));
    // The colours of the start page and the window frame: dark blue, light text, blue headings.
    dialog->setStyleSheet(QStringLiteral(
        "QDialog { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #1b2a44, stop:1 #0c1424); }"
        "QLabel { color: #c8d3e6; }"
        "QPushButton { color: #ffffff; background: #2f6fd6; border: 1px solid #5b93ea; border-radius: 3px;"
        " padding: 4px 18px; }"
        "QPushButton:hover { background: #3f80e8; }"));
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(18, 14, 18, 14);
    auto* heading = new QLabel(QStringLiteral("<span style='font-size:15px; font-weight:bold; color:#ffffff'>Quorvel "
                                              "<span style='color:#6fb3ff'>Online TV</span></span>"),
                               dialog);
    layout->addWidget(heading);
    auto* table = new QLabel(KeysTable(), dialog);
    table->setObjectName(QStringLiteral("KeysTable"));
    table->setTextFormat(Qt::RichText);
    layout->addWidget(table);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
    layout->addWidget(buttons);
    dialog->show();
}

} // namespace quorvel
