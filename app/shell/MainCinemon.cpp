#include "MainCinemon.h"

#include "About.h"
#include "DbError.h"
#include "DenUzavreni.h"
#include "FailureGuard.h"
#include "GlobDialog.h"
#include "MoxButton.h"
#include "MoxButtonMenu.h"
#include "UzivHeslo.h"
#include "UzivHistorie.h"
#include "UzivPrihlaseni.h"
#include "Uzivatel.h"
#include "WaitCursor.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kIdleInterval = 250; // ms; Qt has no "queue became empty" event of its own
const QColor kManagerColor{255, 255, 0};
const QColor kLogoutColor{96, 96, 96};

int Index(TMenuButton button) {
    return static_cast<int>(button);
}

TMenuButton ButtonAt(int index) {
    return static_cast<TMenuButton>(index);
}

const char* const kButtonNames[kMenuButtonCount] = {"BPujcky",    "BZakaznici", "BFilmy",
                                                    "BInventura", "BDoklady",   "BUzaverka",
                                                    "BTrzba",     "BNastaveni", "BKonec"};

} // namespace

TFMainCinemon::TFMainCinemon(TAppContext& context, TDeskFactories desks, TStartupEnv env, QWidget* parent)
    : QWidget(parent), context_(context), desks_(std::move(desks)), env_(std::move(env)) {
    setWindowTitle(QStringLiteral("Cinemon: Videopůjčovna"));
    setMinimumSize(987, 747);

    logo_ = new QLabel(QStringLiteral("Cinemon"), this);
    logo_->setObjectName(QStringLiteral("ImageLOGO"));
    QFont logoFont = logo_->font();
    logoFont.setPointSize(18);
    logoFont.setBold(true);
    logo_->setFont(logoFont);
    logo_->setCursor(Qt::PointingHandCursor);
    logo_->installEventFilter(this);

    deskArea_ = new QWidget(this);
    deskArea_->setObjectName(QStringLiteral("PDesk"));
    auto* deskLayout = new QVBoxLayout(deskArea_);
    deskLayout->setContentsMargins(2, 2, 2, 2);

    auto* top = new QHBoxLayout;
    top->addWidget(logo_);
    top->addWidget(BuildTopBar(), 1);
    auto* body = new QHBoxLayout;
    body->addWidget(BuildMenu());
    body->addWidget(deskArea_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(body, 1);

    context_.Requests = this;
    idle_ = new QTimer(this);
    idle_->setInterval(kIdleInterval);
    connect(idle_, &QTimer::timeout, this, [this] { RunReported([this] { IdleTick(); }); });
    idle_->start();
    UpdateButtons();
}

TFMainCinemon::~TFMainCinemon() {
    if (context_.Requests == this)
        context_.Requests = nullptr;
}

QWidget* TFMainCinemon::BuildMenu() {
    auto* menu = new QWidget(this);
    auto* layout = new QVBoxLayout(menu);
    for (int i = 0; i < kMenuButtonCount; ++i) {
        const TMenuButton which = ButtonAt(i);
        auto* button = new TMoxButtonMenu(MenuCaption(which), menu);
        button->setObjectName(QString::fromLatin1(kButtonNames[i]));
        connect(button, &QPushButton::clicked, this,
                [this, which] { RunReported([this, which] { ClickMenu(which); }); });
        buttons_[static_cast<std::size_t>(i)] = button;
        if (which == TMenuButton::Konec)
            layout->addStretch();
        layout->addWidget(button);
    }
    return menu;
}

QWidget* TFMainCinemon::BuildTopBar() {
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("PUzivatel"));
    eUzivatel_ = new QLabel(bar);
    eUzivatel_->setObjectName(QStringLiteral("EUzivatel"));
    eUzivatel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    eUzivatel_->setAutoFillBackground(true);
    eUzivatel_->setMinimumWidth(240);
    bPriOdhlasit_ = new TMoxButton(QStringLiteral("Přihlásit"), bar);
    bPriOdhlasit_->setObjectName(QStringLiteral("BPriOdhlasit"));
    bPriOdhlasit_->setVisible(false);
    bPriOdhlasit_->setEnabled(false);
    bHeslo_ = new TMoxButton(QStringLiteral("Heslo"), bar);
    bHeslo_->setObjectName(QStringLiteral("BHeslo"));
    bHistorie_ = new TMoxButton(QStringLiteral("Historie"), bar);
    bHistorie_->setObjectName(QStringLiteral("BHistorie"));
    eCas_ = new QLabel(bar);
    eCas_->setObjectName(QStringLiteral("ECas"));
    eCas_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    eCas_->setMinimumWidth(140);
    eCas_->setAlignment(Qt::AlignCenter);

    auto* layout = new QHBoxLayout(bar);
    layout->addWidget(new QLabel(QStringLiteral("Přihlášený uživatel:"), bar));
    layout->addWidget(eUzivatel_);
    layout->addWidget(bPriOdhlasit_);
    layout->addWidget(bHeslo_);
    layout->addWidget(bHistorie_);
    layout->addStretch();
    layout->addWidget(eCas_);

    connect(bPriOdhlasit_, &QPushButton::clicked, this, [this] {
        RunReported([this] {
            if (context_.CurrentUser.LoggedIn())
                Logout();
            else
                Login();
        });
    });
    connect(bHeslo_, &QPushButton::clicked, this, [this] {
        RunReported([this] {
            TFUzivHeslo dialog(context_, this);
            ExecModal(dialog);
        });
    });
    connect(bHistorie_, &QPushButton::clicked, this, [this] {
        RunReported([this] {
            TFUzivHistorie dialog(context_, env_.Now().date(), this);
            ExecModal(dialog);
        });
    });
    ShowLoggedOut();
    return bar;
}

TMoxButtonMenu* TFMainCinemon::Button(TMenuButton button) const {
    return button == TMenuButton::None ? nullptr : buttons_[static_cast<std::size_t>(Index(button))];
}

QString TFMainCinemon::UserText() const {
    return eUzivatel_->text();
}

QString TFMainCinemon::ClockBoxText() const {
    return eCas_->text();
}

TMenuState TFMainCinemon::MenuState() const {
    return {context_.CurrentUser.LoggedIn(), !dayNotClosed_, context_.CurrentUser.Prava, settingsOnly_};
}

void TFMainCinemon::UpdateButtons() {
    const TMenuState state = MenuState();
    for (int i = 0; i < kMenuButtonCount; ++i)
        buttons_[static_cast<std::size_t>(i)]->setEnabled(MenuEnabled(ButtonAt(i), state));
}

void TFMainCinemon::Pause(std::chrono::milliseconds duration) {
    if (duration.count() <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    // The splash only paints meanwhile: a click on "&Konec" must not end the window halfway
    // through the start-up.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void TFMainCinemon::FirstActivation() {
    if (!firstActivation_)
        return;
    firstActivation_ = false;

    TStartupResult result = TStartupResult::SettingsOnly;
    {
        TFAbout splash(this, true);
        splash.show();
        splash.repaint();
        TWaitCursor cursor;
        Pause(env_.SplashPause);
        if (ending_)
            return;
        result = RunStartup(context_, env_, [&splash](const QString& text) { splash.SetStatus(text); });
    }

    switch (result) {
    case TStartupResult::SettingsOnly:
        settingsOnly_ = true;
        UpdateButtons();
        break;
    case TStartupResult::DateMismatch:
    case TStartupResult::InUse:
        break;
    case TStartupResult::Ready:
        bPriOdhlasit_->setVisible(true);
        bPriOdhlasit_->setEnabled(true);
        Login();
        break;
    }
}

void TFMainCinemon::Login() {
    if (context_.CurrentUser.LoggedIn()) {
        Logout();
        if (context_.CurrentUser.LoggedIn())
            return;
    }
    {
        TFUzivPrihlaseni dialog(context_, this);
        ExecModal(dialog);
    }
    if (!context_.CurrentUser.LoggedIn())
        return;
    ShowLoggedIn();
    // The clerk is logged in whatever the gate does: a failed gate is reported and the
    // buttons still follow the login.
    RunReported([this] {
        TTransaction transaction(context_.Db().DB);
        transaction.StartTransaction();
        if (!PreviousDayClosed(context_.Db(), transaction, context_.CurrentUser.KodUziv).Yes) {
            Warn(QStringLiteral("Nebyl uzavřen předešlý den. Nejdříve musíte spustit uzávěrku."));
            dayNotClosed_ = true;
        }
        if (transaction.Active())
            transaction.Commit();
    });
    UpdateButtons();
}

void TFMainCinemon::Logout() {
    if (Ask(QStringLiteral("Opravdu se chcete odhlásit?")) != TMsgResult::Yes)
        return;
    if (!SwitchDesk(TMenuButton::None))
        return;
    context_.CurrentUser.Uzivatel.clear();
    ShowLoggedOut();
    UpdateButtons();
    WriteLogout(context_.Db(), context_.CurrentUser.KodUziv);
}

void TFMainCinemon::ShowLoggedIn() {
    eUzivatel_->setText(context_.CurrentUser.Jmeno);
    QPalette palette = eUzivatel_->palette();
    palette.setColor(QPalette::Window,
                     context_.CurrentUser.IsManager() ? kManagerColor : QPalette().color(QPalette::Window));
    eUzivatel_->setPalette(palette);
    bPriOdhlasit_->setText(QStringLiteral("Odhlásit"));
    bPriOdhlasit_->setButtonColor(kLogoutColor);
    bPriOdhlasit_->setButtonTextColor(Qt::white);
    bHeslo_->setVisible(true);
    bHistorie_->setVisible(true);
}

void TFMainCinemon::ShowLoggedOut() {
    eUzivatel_->clear();
    eUzivatel_->setPalette(QPalette());
    bPriOdhlasit_->setText(QStringLiteral("Přihlásit"));
    bPriOdhlasit_->setButtonColor(bHeslo_->buttonColor());
    bPriOdhlasit_->setButtonTextColor(bHeslo_->buttonTextColor());
    bHeslo_->setVisible(false);
    bHistorie_->setVisible(false);
}

bool TFMainCinemon::SwitchDesk(TMenuButton button) {
    if (desk_) {
        if (!desk_->CanLeave())
            return false;
        desk_->LeaveDesk();
        delete desk_;
        desk_ = nullptr;
    }

    const TMenuState state = MenuState();
    for (int i = 0; i < kMenuButtonCount; ++i) {
        const TMenuButton which = ButtonAt(i);
        buttons_[static_cast<std::size_t>(i)]->setActive(which == button && MenuEnabled(which, state) &&
                                                         deskArea_->isVisibleTo(this));
    }
    // A button leaving its active state restores the enabled state it had before; the rules
    // may have changed meanwhile.
    UpdateButtons();

    if (button != TMenuButton::None && Button(button)->isActive()) {
        const auto factory = desks_.find(button);
        if (factory != desks_.end() && factory->second) {
            desk_ = factory->second(context_, deskArea_);
            deskArea_->layout()->addWidget(desk_);
            desk_->show();
        }
    }
    return true;
}

void TFMainCinemon::ClickMenu(TMenuButton button) {
    if (button == TMenuButton::Konec) {
        if (SwitchDesk(TMenuButton::Konec))
            close();
        return;
    }
    if (!SwitchDesk(button) || !Button(button)->isActive())
        return;

    bool* pending = nullptr;
    int key = 0;
    switch (button) {
    case TMenuButton::Pujcky:
        pending = &lendingPending_;
        key = customerKey_;
        break;
    case TMenuButton::Zakaznici:
        pending = &customerPending_;
        key = customerKey_;
        break;
    case TMenuButton::Filmy:
        pending = &titlePending_;
        key = titleKey_;
        break;
    default:
        break;
    }
    const bool open = pending && *pending;
    if (pending)
        *pending = false;
    if (!desk_)
        return;
    desk_->ShowDesk(button == TMenuButton::Uzaverka    ? dayNotClosed_
                    : button == TMenuButton::Nastaveni ? settingsOnly_
                                                       : false);
    if (open)
        desk_->OpenRecord(key);
}

void TFMainCinemon::IdleTick() {
    const QDateTime now = env_.Now();
    if (ClockDue(lastClock_, now)) {
        lastClock_ = now;
        eCas_->setText(ClockText(now));
    }
    // Requests are served from the main loop only: the timer also fires inside a modal dialog
    // or under the wait box, where the desk that asked may still be running and must not be
    // destroyed by the switch.
    if (QApplication::activeModalWidget() || WaitDialogShown())
        return;
    // The button of the shown desk is not pressable, yet a request for that desk still
    // reopens it on the record.
    const auto serve = [this](TMenuButton button) {
        if (MenuEnabled(button, MenuState()))
            ClickMenu(button);
    };
    if (lendingPending_)
        serve(TMenuButton::Pujcky);
    if (customerPending_)
        serve(TMenuButton::Zakaznici);
    if (titlePending_)
        serve(TMenuButton::Filmy);
}

void TFMainCinemon::RequestLending(int kodZak) {
    lendingPending_ = true;
    customerKey_ = kodZak;
}

void TFMainCinemon::RequestCustomer(int kodZak) {
    customerPending_ = true;
    customerKey_ = kodZak;
}

void TFMainCinemon::RequestTitle(int kodTitul) {
    titlePending_ = true;
    titleKey_ = kodTitul;
}

void TFMainCinemon::DayClosed() {
    if (!dayNotClosed_)
        return;
    dayNotClosed_ = false;
    UpdateButtons();
}

void TFMainCinemon::ShowAbout() {
    TFAbout about(this);
    ExecModal(about);
}

void TFMainCinemon::EndWithoutAsking() {
    // Destroyed without LeaveDesk: its transactions roll back instead of committing.
    delete desk_;
    desk_ = nullptr;
    if (context_.CurrentUser.LoggedIn()) {
        // No window can be shown any more; the end goes on without the record.
        try {
            WriteLogout(context_.Db(), context_.CurrentUser.KodUziv);
        } catch (const ECinemonError& e) {
            qWarning("%s", qPrintable(e.Message()));
        }
        context_.CurrentUser.Uzivatel.clear();
    }
    context_.Db().DB.Close();
}

bool TFMainCinemon::CloseQuery() {
    if (!Button(TMenuButton::Konec)->isActive() && !SwitchDesk(TMenuButton::Konec))
        return false;
    return MessageDialog(QStringLiteral("Opravdu ukončit aplikaci?"), TMsgKind::Information,
                         TMsgButtons::YesNo) == TMsgResult::Yes;
}

void TFMainCinemon::closeEvent(QCloseEvent* event) {
    bool agreed = false;
    try {
        agreed = CloseQuery();
    } catch (...) {
        // The desk could not be left (its work not committed): the window stays open with
        // the desk, and nothing is recorded.
        event->ignore();
        ReportCurrentException();
        return;
    }
    if (!agreed) {
        event->ignore();
        SwitchDesk(TMenuButton::None);
        return;
    }
    if (context_.CurrentUser.LoggedIn()) {
        // The clerk has agreed to end; a logout record that cannot be written is reported, and
        // the program still ends.
        RunReported([this] { WriteLogout(context_.Db(), context_.CurrentUser.KodUziv); });
        // A second close of the window must not record a second logout.
        context_.CurrentUser.Uzivatel.clear();
    }
    event->accept();
}

bool TFMainCinemon::eventFilter(QObject* watched, QEvent* event) {
    if (watched == logo_ && event->type() == QEvent::MouseButtonRelease) {
        ShowAbout();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
