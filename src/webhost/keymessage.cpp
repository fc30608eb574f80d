#include "webhost/keymessage.h"

#include <QKeyEvent>

namespace quorvel {
namespace {

struct KeyCode {
    int qt;
    unsigned vk;
};

// Keys other than letters, digits and function keys. Shifted punctuation is the key it is on.
constexpr KeyCode kKeys[] = {
    {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09},      {Qt::Key_Backtab, 0x09},    {Qt::Key_Return, 0x0D},
    {Qt::Key_Enter, 0x0D},     {Qt::Key_Shift, 0x10},    {Qt::Key_Control, 0x11},    {Qt::Key_Alt, 0x12},
    {Qt::Key_Pause, 0x13},     {Qt::Key_CapsLock, 0x14}, {Qt::Key_Escape, 0x1B},     {Qt::Key_Space, 0x20},
    {Qt::Key_PageUp, 0x21},    {Qt::Key_PageDown, 0x22}, {Qt::Key_End, 0x23},        {Qt::Key_Home, 0x24},
    {Qt::Key_Left, 0x25},      {Qt::Key_Up, 0x26},       {Qt::Key_Right, 0x27},      {Qt::Key_Down, 0x28},
    {Qt::Key_Print, 0x2C},     {Qt::Key_Insert, 0x2D},   {Qt::Key_Delete, 0x2E},     {Qt::Key_Help, 0x2F},
    {Qt::Key_Menu, 0x5D},      {Qt::Key_NumLock, 0x90},  {Qt::Key_ScrollLock, 0x91}, {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Colon, 0xBA},     {Qt::Key_Equal, 0xBB},    {Qt::Key_Plus, 0xBB},       {Qt::Key_Comma, 0xBC},
    {Qt::Key_Less, 0xBC},      {Qt::Key_Minus, 0xBD},    {Qt::Key_Underscore, 0xBD}, {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE},   {Qt::Key_Slash, 0xBF},    {Qt::Key_Question, 0xBF},   {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_AsciiTilde, 0xC0}, {Qt::Key_BracketLeft, 0xDB}, {Qt::Key_BraceLeft, 0xDB}, {Qt::Key_Backslash, 0xDC},
    {Qt::Key_Bar, 0xDC},       {Qt::Key_BracketRight, 0xDD}, {Qt::Key_BraceRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},  {Qt::Key_Exclam, 0x31},   {Qt::Key_At, 0x32},         {Qt::Key_NumberSign, 0x33},
    {Qt::Key_Dollar, 0x34},    {Qt::Key_Percent, 0x35},  {Qt::Key_AsciiCircum, 0x36}, {Qt::Key_Ampersand, 0x37},
    {Qt::Key_Asterisk, 0x38},  {Qt::Key_ParenLeft, 0x39}, {Qt::Key_ParenRight, 0x30},
};

} // namespace

unsigned KeyMessage::VirtualKeyOf(int qtKey)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + static_cast<unsigned>(qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return '0' + static_cast<unsigned>(qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 0x70 + static_cast<unsigned>(qtKey - Qt::Key_F1);
    for (const KeyCode& k : kKeys)
        if (k.qt == qtKey)
            return k.vk;
    return 0;
}

KeyMessage KeyMessage::FromEvent(const QKeyEvent& event)
{
    KeyMessage m;
    const Qt::KeyboardModifiers mods = event.modifiers();
    m.ctrl = mods.testFlag(Qt::ControlModifier);
    m.shift = mods.testFlag(Qt::ShiftModifier);
    m.alt = mods.testFlag(Qt::AltModifier);
    m.virtualKey = VirtualKeyOf(event.key());
    const bool system = (m.alt && !m.ctrl) || event.key() == Qt::Key_F10;
    if (event.type() == QEvent::KeyRelease)
        m.message = system ? WM_SYSKEYUP : WM_KEYUP;
    else
        m.message = system ? WM_SYSKEYDOWN : WM_KEYDOWN;
    return m;
}

} // namespace quorvel
