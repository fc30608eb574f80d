#include "skin/data/skinmessageforms.h"

#include <QPointer>
#include <algorithm>

namespace quorvel {
namespace {

std::vector<QPointer<QObject>>& List()
{
    static std::vector<QPointer<QObject>> forms;
    return forms;
}

void Prune()
{
    auto& forms = List();
    forms.erase(std::remove_if(forms.begin(), forms.end(), [](const QPointer<QObject>& p) { return p.isNull(); }),
                forms.end());
}

} // namespace

void SkinMessageForms::Add(QObject* form)
{
    Prune();
    auto& forms = List();
    if (form && std::find(forms.begin(), forms.end(), form) == forms.end())
        forms.emplace_back(form);
}

void SkinMessageForms::Remove(QObject* form)
{
    auto& forms = List();
    forms.erase(std::remove(forms.begin(), forms.end(), form), forms.end());
    Prune();
}

std::vector<QObject*> SkinMessageForms::Forms()
{
    Prune();
    std::vector<QObject*> result;
    for (const auto& p : List())
        result.push_back(p.data());
    return result;
}

} // namespace quorvel
