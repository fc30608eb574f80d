#pragma once

#include <QObject>
#include <vector>

namespace quorvel {

// The forms that take the skin's change messages. A form joins when a skinned frame is put on it
// and leaves when the frame goes; the list forgets a form that is destroyed.
class SkinMessageForms {
public:
    static void Add(QObject* form);
    static void Remove(QObject* form);
    // The living forms, in the order they joined.
    static std::vector<QObject*> Forms();
};

} // namespace quorvel
