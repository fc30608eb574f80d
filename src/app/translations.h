#pragma once

class QLocale;
class QTranslator;

namespace quorvel {

// The window's own texts (the window menu's captions and the caption buttons' hints) are
// written in Chinese, as the skin engine gives them; for an English locale, and for the C and
// POSIX locales, the English translation shipped with the program is installed, so a viewer
// reading English sees one language. Other locales keep the original texts. Returns the installed translator (owned by
// the application, removed when deleted), or null.
QTranslator* InstallTranslations(const QLocale& locale);

} // namespace quorvel
