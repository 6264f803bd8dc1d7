#pragma once

#include "AppContext.h"
#include "DeskFactories.h"
#include "Startup.h"

#include <QDateTime>
#include <QWidget>

#include <array>

class QLabel;
class QTimer;
class TMoxButton;
class TMoxButtonMenu;

// The main window: a column of menu buttons, one per desk, the top bar with the logged-in user,
// and the desk area showing at most one desk. It serves the desks' requests.
class TFMainCinemon final : public QWidget, public IMainRequests {
    Q_OBJECT
public:
    TFMainCinemon(TAppContext& context, TDeskFactories desks, TStartupEnv env = {},
                  QWidget* parent = nullptr);
    ~TFMainCinemon() override;
    Q_DISABLE_COPY_MOVE(TFMainCinemon)

    // The start-up sequence; runs once, on the first activation.
    void FirstActivation();

    void Login();
    void Logout();
    // Leaves the current desk and marks the chosen button (None: no desk); false when the desk
    // refused to be left.
    bool SwitchDesk(TMenuButton button);
    // What a click on the menu button does.
    void ClickMenu(TMenuButton button);
    // Refreshes the clock and serves pending requests; run whenever the program is idle.
    void IdleTick();
    void ShowAbout();
    // A quit signal arrived: the main loop is ending, the rest of the start-up is skipped.
    void EndRequested() { ending_ = true; }
    // Ends as "&Konec" does, without asking, once the main loop has ended: the shown desk's
    // unsaved work is rolled back, the logout is recorded and the database is detached.
    void EndWithoutAsking();

    void RequestLending(int kodZak) override;
    void RequestCustomer(int kodZak) override;
    void RequestTitle(int kodTitul) override;
    void DayClosed() override;

    TMoxButtonMenu* Button(TMenuButton button) const;
    TDesk* Desk() const { return desk_; }
    bool SettingsOnly() const { return settingsOnly_; }
    bool PreviousDayNotClosed() const { return dayNotClosed_; }
    QString UserText() const;
    QString ClockBoxText() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildMenu();
    QWidget* BuildTopBar();
    TMenuState MenuState() const;
    void UpdateButtons();
    void ShowLoggedIn();
    void ShowLoggedOut();
    bool CloseQuery();
    void Pause(std::chrono::milliseconds duration);

    TAppContext& context_;
    TDeskFactories desks_;
    TStartupEnv env_;

    std::array<TMoxButtonMenu*, kMenuButtonCount> buttons_{};
    QLabel* logo_ = nullptr;
    QLabel* eUzivatel_ = nullptr;
    TMoxButton* bPriOdhlasit_ = nullptr;
    TMoxButton* bHeslo_ = nullptr;
    TMoxButton* bHistorie_ = nullptr;
    QLabel* eCas_ = nullptr;
    QWidget* deskArea_ = nullptr;
    QTimer* idle_ = nullptr;

    TDesk* desk_ = nullptr;

    bool firstActivation_ = true;
    bool ending_ = false;
    bool settingsOnly_ = false;
    bool dayNotClosed_ = false;
    bool lendingPending_ = false;
    bool customerPending_ = false;
    int customerKey_ = 0; // shared by the lending and the customer request
    bool titlePending_ = false;
    int titleKey_ = 0;
    QDateTime lastClock_;
};
