#pragma once

#include <QDialog>
#include <functional>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

namespace quorvel {

// The small dialog that takes a playlist: an http/https address or a file (typed, dropped or
// chosen), and says what adding it will do before it is done.
class AddPlaylistDialog : public QDialog {
public:
    // isKnown: whether a location is a source already (it is then read again instead).
    AddPlaylistDialog(QWidget* parent, const QString& location, std::function<bool(const QString&)> isKnown);

    QString Location() const;

private:
    void Explain();
    void ChooseFile();

    QLineEdit* location_;
    QLabel* explanation_;
    QDialogButtonBox* buttons_;
    std::function<bool(const QString&)> isKnown_;
};

} // namespace quorvel
