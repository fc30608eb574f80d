#pragma once

#include "app/sourcekind.h"
#include "provider/providerlogin.h"

#include <QDialog>

#include <functional>
#include <optional>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;

namespace quorvel {

// The small dialog that takes a playlist or a programme guide: an http/https address or a file
// (typed, dropped or chosen), which of the two it is told by its content unless the viewer
// says; or a provider login (server, user name, password). It says what adding it will do
// before it is done.
class AddPlaylistDialog : public QDialog {
public:
    // isKnown: whether a location is a source already (it is then read again instead).
    AddPlaylistDialog(QWidget* parent, const QString& location, std::function<bool(const QString&)> isKnown);

    QString Location() const;
    SourceKind Kind() const;
    // The provider login, when the viewer filled it in rather than a location.
    std::optional<ProviderLogin> Login() const;

private:
    void Explain();
    void ChooseFile();

    QLineEdit* location_;
    QLineEdit* server_;
    QLineEdit* user_;
    QLineEdit* password_;
    QComboBox* kind_;
    QLabel* explanation_;
    QDialogButtonBox* buttons_;
    std::function<bool(const QString&)> isKnown_;
};

} // namespace quorvel
