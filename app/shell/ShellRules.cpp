#include "ShellRules.h"

#include "GlobFunc.h"

#include <cstdlib>

bool MenuEnabled(TMenuButton button, const TMenuState& state) {
    const bool open = state.LoggedIn && state.DayClosed;
    switch (button) {
    case TMenuButton::None:
        return false;
    case TMenuButton::Uzaverka:
        return state.LoggedIn;
    case TMenuButton::Trzba:
        return open && (state.Prava == u'A' || state.Prava == u'V');
    case TMenuButton::Nastaveni:
        return open || state.SettingsOnly;
    case TMenuButton::Konec:
        return true;
    case TMenuButton::Pujcky:
    case TMenuButton::Zakaznici:
    case TMenuButton::Filmy:
    case TMenuButton::Inventura:
    case TMenuButton::Doklady:
        break;
    }
    return open;
}

QString MenuCaption(TMenuButton button) {
    switch (button) {
    case TMenuButton::Pujcky:
        return QStringLiteral("&Půjčky/vrácení");
    case TMenuButton::Zakaznici:
        return QStringLiteral("&Zákazníci");
    case TMenuButton::Filmy:
        return QStringLiteral("&Filmové tituly");
    case TMenuButton::Inventura:
        return QStringLiteral("&Inventura");
    case TMenuButton::Doklady:
        return QStringLiteral("&Doklady");
    case TMenuButton::Uzaverka:
        return QStringLiteral("&Uzávěrka");
    case TMenuButton::Trzba:
        return QStringLiteral("&Tržba");
    case TMenuButton::Nastaveni:
        return QStringLiteral("&Nastavení");
    case TMenuButton::Konec:
        return QStringLiteral("&Konec");
    case TMenuButton::None:
        break;
    }
    return {};
}

QString ProgramVersion() {
    return QStringLiteral(CINEMON_VERSION);
}

bool ClockDiffers(const QDateTime& computer, const QDateTime& server) {
    return std::llabs(computer.msecsTo(server)) > 15LL * 60 * 1000;
}

bool ClockDue(const QDateTime& lastRefresh, const QDateTime& now) {
    return !lastRefresh.isValid() || lastRefresh.msecsTo(now) > 60LL * 1000;
}

QString ClockText(const QDateTime& now) {
    return DateToText(QStringLiteral("dd.mm.yyyy"), now) + QStringLiteral(" - ") +
           DateToText(QStringLiteral("hh:mm"), now);
}
