#pragma once

#include "Desk.h"

#include <QColor>

#include <array>

class QStackedWidget;
class TAppContext;
class TMoxButton;
class TSettingsPage;

// The settings desk: six pages behind a row of page buttons, one page shown at a time. Which
// pages open depends on the rights of the logged-in user and on the settings-only mode (the
// database cannot be opened: only the connection and the printer can be set).
class TFNastaveni final : public TDesk {
    Q_OBJECT
public:
    enum TPage { Pujcky, Uzivatele, Pobocka, Prostredi, Databaze, Tisk };
    static constexpr int kPageCount = 6;

    explicit TFNastaveni(TAppContext& context, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFNastaveni)

    void ShowDesk(bool settingsOnly = false) override;
    bool CanLeave() override;
    void LeaveDesk() override;

    // Shows the page when its button is enabled and the page shown agrees to be left.
    bool ShowPage(TPage page);
    TPage CurrentPage() const { return current_; }
    TSettingsPage* Page(TPage page) const { return pages_[static_cast<std::size_t>(page)]; }
    TMoxButton* Button(TPage page) const { return buttons_[static_cast<std::size_t>(page)]; }

private:
    TAppContext& context_;
    QStackedWidget* stack_;
    std::array<TMoxButton*, kPageCount> buttons_{};
    std::array<TSettingsPage*, kPageCount> pages_{};
    QColor normal_; // of a page button not chosen
    QColor normalText_;
    TPage current_ = Tisk;
    bool shown_ = false;
};
