#pragma once

#include <QObject>

#include <memory>

class QWidget;

namespace quorvel {

// System-wide hot keys and global atoms. Key codes and modifier masks are those of the
// desktop-neutral hot-key model: VK_HOME is 36; MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4, MOD_WIN 8.
class HotKeyService : public QObject {
    Q_OBJECT
public:
    static constexpr unsigned VK_HOME = 36;

    // A global atom for the name: a value from 0xC000 upward, the same for the same name.
    virtual int GlobalAddAtom(const char* name) = 0;
    // Takes the key for the window wherever the keyboard focus is; false when another program
    // holds it or the key does not exist here.
    virtual bool RegisterHotKey(QWidget* window, int id, unsigned modifiers, unsigned virtualKey) = 0;
    virtual bool UnregisterHotKey(QWidget* window, int id) = 0;

signals:
    // A registered key was pressed (the hot-key message).
    void hotKey(QWidget* window, int id, unsigned modifiers, unsigned virtualKey);
};

// The implementation for the desktop this program was built for.
std::unique_ptr<HotKeyService> CreateHotKeyService();

} // namespace quorvel
