#include "Nastaveni.h"

#include "AppContext.h"
#include "DeskSurface.h"
#include "FailureGuard.h"
#include "MoxButton.h"
#include "NastaveniPages.h"

#include <QHBoxLayout>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

const QColor kChosen(0, 128, 0);

} // namespace

TFNastaveni::TFNastaveni(TAppContext& context, QWidget* parent)
    : TDesk(parent), context_(context), stack_(new QStackedWidget(this)) {
    SetDeskSurface(this);
    static const char* const kCaptions[] = {"Půjčky",    "Uživatelé", "Pobočka",
                                            "Prostředí", "Databáze",  "Tisk"};
    static const char* const kNames[] = {"BPujcky",    "BUzivatele", "BPobocka",
                                         "BProstredi", "BDatabaze",  "BTisk"};
    pages_ = {new TPagePujcky(context, stack_),   new TPageUzivatele(context, stack_),
              new TPagePobocka(context, stack_),  new TPageProstredi(context, stack_),
              new TPageDatabaze(context, stack_), new TPageTisk(context, stack_)};
    auto* row = new QHBoxLayout;
    for (int i = 0; i < kPageCount; ++i) {
        const auto index = static_cast<std::size_t>(i);
        buttons_[index] = Named(new TMoxButton(QString::fromUtf8(kCaptions[i]), this), kNames[i]);
        buttons_[index]->setEnabled(false);
        connect(buttons_[index], &QPushButton::clicked, this,
                [this, i] { RunReported([this, i] { ShowPage(static_cast<TPage>(i)); }); });
        row->addWidget(buttons_[index]);
        stack_->addWidget(pages_[index]);
    }
    normal_ = buttons_[0]->buttonColor();
    normalText_ = buttons_[0]->buttonTextColor();
    row->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(stack_, 1);
}

void TFNastaveni::ShowDesk(bool settingsOnly) {
    const QChar prava = context_.CurrentUser.LoggedIn() ? context_.CurrentUser.Prava : QChar();
    const bool admin = !settingsOnly && prava == u'A';
    Button(Pujcky)->setEnabled(!settingsOnly && (prava == u'A' || prava == u'V'));
    Button(Uzivatele)->setEnabled(admin);
    Button(Pobocka)->setEnabled(admin);
    Button(Prostredi)->setEnabled(admin);
    Button(Databaze)->setEnabled(settingsOnly || prava == u'A');
    Button(Tisk)->setEnabled(true);
    static_cast<TPageDatabaze*>(Page(Databaze))->SetSettingsOnly(settingsOnly);
    for (TPage first : {Pujcky, Databaze, Tisk})
        if (Button(first)->isEnabled()) {
            RunReported([this, first] { ShowPage(first); });
            return;
        }
}

bool TFNastaveni::ShowPage(TPage page) {
    if (!Button(page)->isEnabled())
        return false;
    if (shown_ && !Page(current_)->CanLeavePage())
        return false;
    current_ = page;
    shown_ = true;
    for (int i = 0; i < kPageCount; ++i) {
        TMoxButton* button = buttons_[static_cast<std::size_t>(i)];
        button->setButtonColor(i == page ? kChosen : normal_);
        button->setButtonTextColor(i == page ? QColor(Qt::white) : normalText_);
    }
    stack_->setCurrentWidget(Page(page));
    Page(page)->Load();
    if (QWidget* first = Page(page)->FirstInput())
        first->setFocus();
    return true;
}

bool TFNastaveni::CanLeave() {
    return !shown_ || Page(current_)->CanLeavePage();
}

void TFNastaveni::LeaveDesk() {
    // Every page stores in transactions of its own and reads in short ones: nothing is open here.
}
