#include "app/addplaylistdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
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
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

QString LocalPath(const QString& text)
{
    if (text.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return QUrl(text).toLocalFile();
    return text;
}

} // namespace

AddPlaylistDialog::AddPlaylistDialog(QWidget* parent, const QString& location,
                                     std::function<bool(const QString&)> isKnown)
    : QDialog(parent), location_(new QLineEdit(this)), server_(new QLineEdit(this)), user_(new QLineEdit(this)),
      password_(new QLineEdit(this)), kind_(new QComboBox(this)), explanation_(new QLabel(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)),
      isKnown_(std::move(isKnown))
{
    setObjectName(QStringLiteral("AddPlaylistDialog"));
    setWindowTitle(QStringLiteral("Add playlist or guide"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Playlist or programme guide address (http:// or https://) or file:"), this));
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
    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(new QLabel(QStringLiteral("It is:"), this));
    kind_->setObjectName(QStringLiteral("SourceKind"));
    kind_->addItem(QStringLiteral("told by its content"), static_cast<int>(SourceKind::ByContent));
    kind_->addItem(QStringLiteral("a playlist (M3U)"), static_cast<int>(SourceKind::Playlist));
    kind_->addItem(QStringLiteral("a programme guide (XMLTV, plain or gzip)"), static_cast<int>(SourceKind::Guide));
    kindRow->addWidget(kind_, 1);
    layout->addLayout(kindRow);
    // A provider's login in place of a playlist: the password is never shown as it is typed.
    layout->addWidget(new QLabel(QStringLiteral("Or a provider login (Xtream Codes):"), this));
    auto* login = new QFormLayout;
    server_->setObjectName(QStringLiteral("ProviderServer"));
    server_->setPlaceholderText(QStringLiteral("http://provider.example:8080"));
    user_->setObjectName(QStringLiteral("ProviderUser"));
    password_->setObjectName(QStringLiteral("ProviderPassword"));
    password_->setEchoMode(QLineEdit::Password);
    login->addRow(QStringLiteral("Server:"), server_);
    login->addRow(QStringLiteral("User name:"), user_);
    login->addRow(QStringLiteral("Password:"), password_);
    layout->addLayout(login);
    for (QLineEdit* field : {server_, user_, password_})
        connect(field, &QLineEdit::textChanged, this, &AddPlaylistDialog::Explain);
    explanation_->setObjectName(QStringLiteral("PlaylistExplanation"));
    explanation_->setWordWrap(true);
    explanation_->setMinimumHeight(explanation_->fontMetrics().height() * 4);
    layout->addWidget(explanation_);
    buttons_->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Add"));
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(choose, &QPushButton::clicked, this, &AddPlaylistDialog::ChooseFile);
    connect(location_, &QLineEdit::textChanged, this, &AddPlaylistDialog::Explain);
    connect(kind_, &QComboBox::currentIndexChanged, this, &AddPlaylistDialog::Explain);
    Explain();
}

QString AddPlaylistDialog::Location() const
{
    const QString text = location_->text().trimmed();
    return IsWebAddress(text) ? text : LocalPath(text);
}

SourceKind AddPlaylistDialog::Kind() const { return static_cast<SourceKind>(kind_->currentData().toInt()); }

std::optional<ProviderLogin> AddPlaylistDialog::Login() const
{
    if (server_->text().trimmed().isEmpty() && user_->text().trimmed().isEmpty())
        return std::nullopt;
    ProviderLogin login(server_->text(), user_->text(), password_->text());
    if (!login.IsValid() || login.Password().isEmpty())
        return std::nullopt;
    return login;
}

void AddPlaylistDialog::Explain()
{
    const QString text = location_->text().trimmed();
    QString what;
    bool ok = false;
    const bool loginTyped = !server_->text().trimmed().isEmpty() || !user_->text().trimmed().isEmpty();
    if (loginTyped) {
        if (Login()) {
            what = QStringLiteral("The provider will be asked for the account in the background: its live "
                                  "categories and channels go into the tree, and are read again each day the player "
                                  "starts. The password goes into the desktop keyring.");
            ok = true;
        } else {
            what = QStringLiteral("A provider login needs the server (an address or a host name), the user name and "
                                  "the password.");
        }
    } else if (ProviderLogin::FromPlaylistAddress(text)) {
        what = QStringLiteral("This is a provider's playlist address: the provider is asked for the account first, "
                              "and its live categories and channels go into the tree; the password goes into the "
                              "desktop keyring, not into the list of playlists.");
        ok = true;
    } else if (text.isEmpty()) {
        what = QStringLiteral("Type or paste the address your provider gave, or choose an M3U file.");
    } else if (isKnown_ && isKnown_(Location())) {
        what = QStringLiteral("This is added already: it will be read again now.");
        ok = true;
    } else if ((IsWebAddress(text) || QFileInfo(LocalPath(text)).isFile()) && Kind() != SourceKind::Playlist) {
        what = Kind() == SourceKind::Guide
                   ? QStringLiteral("The programme guide will be read in the background for the channels of the "
                                    "tree, and read again with the playlists.")
                   : QStringLiteral("It will be looked at in the background: a playlist's channels go into the tree, "
                                    "each group a category; a programme guide (XMLTV) is read for the tree's "
                                    "channels. Both are read again each day the player starts.");
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
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Choose a playlist or a guide"), QString(),
                                                      QStringLiteral("Playlists and guides (*.m3u *.m3u8 *.xml *.gz);;"
                                                                     "All files (*)"));
    if (!file.isEmpty())
        location_->setText(file);
}

} // namespace quorvel
