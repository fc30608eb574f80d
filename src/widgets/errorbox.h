#pragma once

#include <QString>

#include <exception>
#include <functional>

namespace quorvel {

// The message as the error box shows it: a full stop is appended when the message's last
// character sorts after ".".
QString WithFullStop(const QString& message);

// Shows an error to the user: a message box with the error icon, titled with the application's
// title. Tests put a recorder in its place.
using ErrorPresenter = std::function<void(const QString& title, const QString& message)>;
void SetErrorPresenter(ErrorPresenter presenter);
void ShowErrorMessage(const QString& message);

// Runs one event handler: when it fails, it ends there and the error is shown; the program goes on.
void RunHandler(const std::function<void()>& handler);

} // namespace quorvel
