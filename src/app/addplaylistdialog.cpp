#include "app/addplaylistdialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace quorvel {
namespace {

bool IsWebAddress(const QString& text)
{
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

QString LocalPath(const QString& text)
{
    if (text.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return QUrl(text).toLocalFile();
    return text;
}

} // namespace

AddPlaylistDialog::AddPlaylistDialog(QWidget* parent, const QString& location, std::function<bool(const QString&)> isKnown)
    : QDialog(parent), location_(new QLineEdit(this)), explanation_(new QLabel(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)), isKnown_(std::move(isKnown))
{
    setObjectName(QStringLiteral("AddPlaylistDialog"));
    setWindowTitle(QStringLiteral("Add playlist"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Playlist address (http:// or https://) or file:"), this));
    auto* row = new QHBoxLayout;
    location_->setObjectName(QStringLiteral("PlaylistLocation"));
    location_->setMinimumWidth(360);
    location_->setText(location);
    row->addWidget(location_);
    auto* choose = new QPushButton(QStringLiteral("Choose file…"), this);
    choose->setObjectName(QStringLiteral("ChoosePlaylistFile"));
    choose->setAutoDefault(false);
    row->addWidget(choose);
    layout->addLayout(row);
    explanation_->setObjectName(QStringLiteral("PlaylistExplanation"));
    explanation_->setWordWrap(true);
    explanation_->setMinimumHeight(explanation_->fontMetrics().height() * 3);
    layout->addWidget(explanation_);
    buttons_->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Add"));
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(choose, &QPushButton::clicked, this, &AddPlaylistDialog::ChooseFile);
    connect(location_, &QLineEdit::textChanged, this, &AddPlaylistDialog::Explain);
    Explain();
}

QString AddPlaylistDialog::Location() const
{
    const QString text = location_->text().trimmed();
    return IsWebAddress(text) ? text : LocalPath(text);
}

void AddPlaylistDialog::Explain()
{
    const QString text = location_->text().trimmed();
    QString what;
    bool ok = false;
    if (text.isEmpty()) {
        what = QStringLiteral("Type or paste the address your provider gave, or choose an M3U file.");
    } else if (isKnown_ && isKnown_(Location())) {
        what = QStringLiteral("This playlist is added already: it will be read again now, and its channels made "
                              "what it lists today.");
        ok = true;
    } else if (IsWebAddress(text)) {
        what = QStringLiteral("The playlist will be downloaded in the background and its channels added to the "
                              "tree, each group a category. It is read again each day the player starts, and "
                              "channels it stops listing go; your own channels stay.");
        ok = true;
    } else if (QFileInfo(LocalPath(text)).isFile()) {
        what = QStringLiteral("The file will be read in the background and its channels added to the tree, each "
                              "group a category. It is read again each day the player starts, and channels it "
                              "stops listing go; your own channels stay.");
        ok = true;
    } else {
        what = QStringLiteral("This is neither an http:// or https:// address nor a file that exists.");
    }
    explanation_->setText(what);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(ok);
}

void AddPlaylistDialog::ChooseFile()
{
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Choose a playlist"), QString(),
                                                      QStringLiteral("Playlists (*.m3u *.m3u8);;All files (*)"));
    if (!file.isEmpty())
        location_->setText(file);
}

} // namespace quorvel
