#include "widgets/errorbox.h"

#include "base/exception.h"

#include <QApplication>
#include <QMessageBox>

namespace quorvel {
namespace {

ErrorPresenter& Presenter()
{
    static ErrorPresenter presenter;
    return presenter;
}

} // namespace

QString WithFullStop(const QString& message)
{
    if (!message.isEmpty() && message.back() > QChar('.'))
        return message + QChar('.');
    return message;
}

void SetErrorPresenter(ErrorPresenter presenter) { Presenter() = std::move(presenter); }

void ShowErrorMessage(const QString& message)
{
    const QString title = QApplication::applicationDisplayName();
    const QString text = WithFullStop(message);
    if (Presenter()) {
        Presenter()(title, text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void RunHandler(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& e) {
        // Profile files hold bytes of the single-byte code page.
        ShowErrorMessage(QString::fromLocal8Bit(e.what()));
    }
}

} // namespace quorvel
