#pragma once

#include <QChar>
#include <QDateTime>
#include <QString>

// The main window's menu buttons, top to bottom.
enum class TMenuButton {
    None = -1,
    Pujcky,
    Zakaznici,
    Filmy,
    Inventura,
    Doklady,
    Uzaverka,
    Trzba,
    Nastaveni,
    Konec
};
inline constexpr int kMenuButtonCount = 9;

// What decides which menu buttons may be pressed.
struct TMenuState {
    bool LoggedIn = false;
    bool DayClosed = true;
    QChar Prava;
    bool SettingsOnly = false;
};
bool MenuEnabled(TMenuButton button, const TMenuState& state);
QString MenuCaption(TMenuButton button);

// The program's version as stored in SPEC_DB.VERZE_APP and shown in the about box.
QString ProgramVersion();

// The computer's clock may be at most 15 minutes off the server's (exactly 15 passes).
bool ClockDiffers(const QDateTime& computer, const QDateTime& server);
// The clock box is refreshed only when strictly more than one minute has passed; an invalid
// last refresh (none yet) is always due.
bool ClockDue(const QDateTime& lastRefresh, const QDateTime& now);
// "07.03.2005 - 14:05"
QString ClockText(const QDateTime& now);
