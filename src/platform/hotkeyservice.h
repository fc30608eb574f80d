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
    // A key that RegisterHotKey took reaches this program only while one of its windows has the
    // focus, or the desktop refused it later (the viewer declined it, or it is taken): emitted
    // at most once a key.
    void notWholeDesktop(QWidget* window, int id);
};

// The implementation for the session the program runs in: the desktop portal's global
// shortcuts on a Wayland desktop that offers them, else a key grab on the X server (which on a
// Wayland desktop sees the key only while a window of this program has the focus).
std::unique_ptr<HotKeyService> CreateHotKeyService();

} // namespace quorvel
