#include "provider/passwordbook.h"

namespace quorvel {

void PasswordBook::Put(const QString& location, const QString& password)
{
    auto login = ProviderLogin::FromLocation(location);
    if (!login)
        return;
    login->SetPassword(password);
    const std::lock_guard lock(mutex_);
    logins_.insert_or_assign(location, *login);
}

void PasswordBook::Forget(const QString& location)
{
    const std::lock_guard lock(mutex_);
    logins_.erase(location);
}

QString PasswordBook::Find(const ProviderLogin& login) const
{
    const std::lock_guard lock(mutex_);
    const auto it = logins_.find(login.Location());
    return it == logins_.end() ? QString() : it->second.Password();
}

void PasswordBook::SetSingleConnection(const QString& location, bool single)
{
    const std::lock_guard lock(mutex_);
    single_.insert_or_assign(location, single);
}

bool PasswordBook::SingleConnection(const QString& address) const
{
    const std::lock_guard lock(mutex_);
    for (const auto& [location, single] : single_)
        if (single)
            if (const auto login = ProviderLogin::FromLocation(location); login && login->Owns(address))
                return true;
    return false;
}

QString PasswordBook::Opened(const QString& kept) const
{
    if (!kept.contains(ProviderLogin::Mark()))
        return kept;
    const std::lock_guard lock(mutex_);
    for (const auto& [location, login] : logins_)
        if (QString opened = login.Opened(kept); opened != kept)
            return opened;
    return kept;
}

QString PasswordBook::Kept(const QString& opened) const
{
    const std::lock_guard lock(mutex_);
    for (const auto& [location, login] : logins_)
        if (QString kept = login.Kept(opened); kept != opened)
            return kept;
    return opened;
}

} // namespace quorvel
