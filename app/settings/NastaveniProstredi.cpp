#include "AppContext.h"
#include "DeskSurface.h"
#include "GlobDialog.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxComboBox.h"
#include "MoxEdit.h"
#include "MoxGrid.h"
#include "MoxLabel.h"
#include "MoxMemo.h"
#include "MoxNavigator.h"
#include "MoxNumEdit.h"
#include "NastaveniPages.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString kKey = QStringLiteral("KOD");
const QString kName = QStringLiteral("NAZEV");
const QString kLoaded = QStringLiteral("PUVODNI");
const char* const kSmsGate = "https://www.smsbrana.cz";

struct TListLook {
    const char* caption;
    const char* column;
    const char* grid;
    int length;
};
constexpr std::array<TListLook, 4> kLooks{{{"Žánry filmů:", "Žánr", "GridZanry", 32},
                                           {"Zvukové formáty filmů:", "Formát zvuku", "GridFormaty", 64},
                                           {"Titulky:", "Titulky", "GridTitulky", 48},
                                           {"Jazykové mutace:", "Jazyky", "GridJazyky", 48}}};

} // namespace

TPageProstredi::TPageProstredi(TAppContext& context, QWidget* parent)
    : TSettingsPage(context, "BUlozProstredi", parent) {
    const auto number = [this](const char* name, double max) {
        auto* field = Named(new TMoxNumEdit(this), name);
        field->setDecimal(2);
        field->setMinValue(0);
        field->setMaxValue(max);
        Watch(field, &QLineEdit::textEdited);
        return field;
    };
    const auto text = [this](const char* name, int length) {
        auto* field = Named(new TMoxEdit(this), name);
        field->setMaxLength(length);
        Watch(field, &QLineEdit::textEdited);
        return field;
    };
    EDphA = number("EDphA", 99.99);
    EDphB = number("EDphB", 99.99);
    EMena = text("EMena", 5);
    CBDphPujcka = Named(new TMoxComboBox(this), "CBDphPujcka");
    connect(CBDphPujcka, &QComboBox::activated, this, [this] { MarkChanged(); });
    ChPlatceDph = Named(new TMoxCheckBox(QStringLiteral("&Jsme plátci DPH"), this), "ChPlatceDph");
    connect(ChPlatceDph, &TMoxCheckBox::changed, this, [this] { MarkChanged(); });
    EVipDvd = number("EVipDvd", 99999);
    EVipVhs = number("EVipVhs", 99999);
    for (TMoxNumEdit* rate : {EDphA, EDphB})
        connect(rate, &QLineEdit::textEdited, this, [this] {
            const int chosen = CBDphPujcka->currentIndex();
            FillRentalVat(chosen == 1   ? QStringLiteral("A")
                          : chosen == 2 ? QStringLiteral("B")
                                        : QStringLiteral("0"));
        });
    EEmaily = text("EEmaily", 160);
    EOdesilatel = text("EOdesilatel", 160);
    EHost = text("EHost", 80);
    EPort = text("EPort", 16);
    ESmsLogin = text("ESmsLogin", 32);
    ESmsHeslo = text("ESmsHeslo", 64);
    EUpominkaSubj = text("EUpominkaSubj", kReminderSubjectLimit);
    MUpominkaText = Named(new TMoxMemo(this), "MUpominkaText");
    Watch(MUpominkaText, &QPlainTextEdit::textChanged);
    // A few lines are enough to read the text; the code lists below keep the room.
    MUpominkaText->setFixedHeight(MUpominkaText->fontMetrics().lineSpacing() * 4 + 10);

    const auto form = [this](const QString& title, const std::vector<std::pair<QString, QWidget*>>& rows) {
        auto* box = new QGroupBox(title, this);
        auto* grid = new QGridLayout(box);
        int line = 0;
        for (const auto& [caption, field] : rows) {
            if (caption.isEmpty()) {
                grid->addWidget(field, line++, 1);
                continue;
            }
            grid->addWidget(Caption(caption, field, this), line, 0);
            grid->addWidget(field, line++, 1);
        }
        return box;
    };
    auto* ceny = form(QStringLiteral("Ceny:"), {{QStringLiteral("&Snížená sazba DPH:"), EDphA},
                                                {QStringLiteral("Základní sazba DP&H:"), EDphB},
                                                {QStringLiteral("&Měna:"), EMena},
                                                {QStringLiteral("S&azba půjčovného:"), CBDphPujcka},
                                                {QString(), ChPlatceDph},
                                                {QStringLiteral("VIP &cena DVD:"), EVipDvd},
                                                {QStringLiteral("VIP &cena VHS:"), EVipVhs}});
    auto* maily =
        form(QStringLiteral("Uzávěrka, posílání emailů:"),
             {{QStringLiteral("&Emaily, kam posílat informace (adresy oddělujte středníkem):"), EEmaily},
              {QStringLiteral("&Odesílatel mailů:"), EOdesilatel},
              {QStringLiteral("SMTP ser&ver:"), EHost},
              {QStringLiteral("Po&rt:"), EPort}});
    auto* link =
        Named(new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(QString::fromLatin1(kSmsGate)), this),
              "LSmsBrana");
    link->setTextInteractionFlags(Qt::TextBrowserInteraction);
    connect(link, &QLabel::linkActivated, this,
            [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); });
    auto* sms = form(QStringLiteral("SMS brána:"), {{QStringLiteral("Přih&lášení:"), ESmsLogin},
                                                    {QStringLiteral("Heslo:"), ESmsHeslo},
                                                    {QString(), link}});
    auto* upominky =
        form(QStringLiteral("Upomínky nosičů po termínu:"),
             {{QStringLiteral("Před&mět:"), EUpominkaSubj}, {QStringLiteral("Te&xt:"), MUpominkaText}});

    auto* tituly = new QGroupBox(QStringLiteral("Filmové tituly:"), this);
    auto* listsGrid = new QGridLayout(tituly);
    for (std::size_t i = 0; i < kLooks.size(); ++i) {
        auto* table = new TMemTable({kKey, kName, kLoaded}, this);
        table->setColumnTitle(kName, QString::fromUtf8(kLooks[i].column));
        table->setColumnMaxLength(kName, kLooks[i].length);
        table->setUserInsertAllowed(true);
        lists_[i] = table;
        auto* grid = Named(new TMoxGrid(this), kLooks[i].grid);
        grid->setModel(table);
        grid->setColumnHidden(0, true);
        grid->setColumnHidden(2, true);
        grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
        // A code is kept in the titles that use it, so a list's rows are never deleted here.
        using B = TMoxNavigator::TButton;
        auto* navigator = new TMoxNavigator(grid, {B::Prior, B::Next, B::Insert, B::Post, B::Cancel}, this);
        navigator->setObjectName(QString::fromLatin1(kLooks[i].grid) + QStringLiteral("Nav"));
        connect(table, &TMemTable::changed, this, [this] { MarkChanged(); });
        auto* add = new TMoxButton(QStringLiteral("Přidat"), this);
        add->setObjectName(QString::fromLatin1(kLooks[i].grid) + QStringLiteral("Pridat"));
        connect(add, &QPushButton::clicked, this, [table, grid] {
            table->setCurrentRow(table->appendRecord());
            const QModelIndex name = table->index(table->currentRow(), 1);
            grid->setFocus();
            grid->setCurrentIndex(name);
            static_cast<QAbstractItemView*>(grid)->edit(name);
        });
        auto* cell = new QVBoxLayout;
        cell->addWidget(new TMoxLabel(QString::fromUtf8(kLooks[i].caption), this));
        cell->addWidget(grid, 1);
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(navigator);
        buttons->addWidget(add);
        buttons->addStretch();
        cell->addLayout(buttons);
        listsGrid->addLayout(cell, static_cast<int>(i) / 2, static_cast<int>(i) % 2);
    }

    auto* left = new QVBoxLayout;
    left->addWidget(ceny);
    left->addWidget(sms);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(maily);
    right->addWidget(upominky);
    right->addWidget(tituly, 1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 2);
    auto* page = new QVBoxLayout(this);
    page->addLayout(columns, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(BUloz);
    page->addLayout(bottom);
}

void TPageProstredi::FillRentalVat(const QString& dphPujcka) {
    const TLoading loading(*this);
    const QLocale locale;
    CBDphPujcka->clear();
    CBDphPujcka->addItem(QStringLiteral("0: ") + locale.toString(0) + QStringLiteral(" %"));
    CBDphPujcka->addItem(QStringLiteral("A: ") + locale.toString(EDphA->value()) + QStringLiteral(" %"));
    CBDphPujcka->addItem(QStringLiteral("B: ") + locale.toString(EDphB->value()) + QStringLiteral(" %"));
    CBDphPujcka->setCurrentIndex(dphPujcka == u'A' ? 1 : dphPujcka == u'B' ? 2 : 0);
}

void TPageProstredi::Load() {
    const TLoading loading(*this);
    loaded_ = {};
    loaded_.Prices = context_.SpecCena().Current();
    TSpecApp& app = context_.SpecApp();
    loaded_.App = {app.GetEmail(),    app.GetMailOdeslat(), app.GetMailHost(),     app.GetMailPort(),
                   app.GetSmsLogin(), app.GetSmsPswd(),     app.GetUpominkaSubj(), app.GetUpominkaText()};
    RunInTransaction(context_.Db().DB, [&](TTransaction& transaction) {
        for (std::size_t i = 0; i < kCodeLists.size(); ++i)
            loaded_.Lists[i] = LoadCodeList(context_.Db(), transaction, kCodeLists[i]);
    });

    const TSpecCena::Values& p = loaded_.Prices;
    EDphA->setValue(p.DphA);
    EDphB->setValue(p.DphB);
    EMena->setText(p.Mena);
    ChPlatceDph->setChecked(p.PlatceDph);
    EVipDvd->setValue(p.CenaVipDvd);
    EVipVhs->setValue(p.CenaVipVhs);
    FillRentalVat(p.DphPujcka);
    const TSpecApp::Values& a = loaded_.App;
    EEmaily->setText(a.Email);
    EOdesilatel->setText(a.MailOdeslat);
    EHost->setText(a.MailHost);
    EPort->setText(a.MailPort);
    ESmsLogin->setText(a.SmsLogin);
    ESmsHeslo->setText(a.SmsPswd);
    EUpominkaSubj->setText(a.UpominkaSubj);
    MUpominkaText->setPlainText(a.UpominkaText);
    for (std::size_t i = 0; i < lists_.size(); ++i) {
        QList<QVariantList> rows;
        for (const TCodeRow& row : loaded_.Lists[i])
            rows.append({row.Key, row.Name, row.Loaded});
        lists_[i]->setRows(rows);
    }
    MarkSaved();
}

QWidget* TPageProstredi::FirstInput() {
    return EDphA;
}

TEnvironment TPageProstredi::Input() const {
    TEnvironment e = loaded_;
    e.Prices.DphA = EDphA->value();
    e.Prices.DphB = EDphB->value();
    e.Prices.Mena = EMena->text();
    e.Prices.PlatceDph = ChPlatceDph->isChecked();
    e.Prices.CenaVipDvd = EVipDvd->value();
    e.Prices.CenaVipVhs = EVipVhs->value();
    const int chosen = CBDphPujcka->currentIndex();
    e.Prices.DphPujcka = chosen == 1   ? QStringLiteral("A")
                         : chosen == 2 ? QStringLiteral("B")
                                       : QStringLiteral("0");
    e.App = {EEmaily->text(),   EOdesilatel->text(), EHost->text(),         EPort->text(),
             ESmsLogin->text(), ESmsHeslo->text(),   EUpominkaSubj->text(), MUpominkaText->toPlainText()};
    for (std::size_t i = 0; i < lists_.size(); ++i) {
        e.Lists[i].clear();
        for (int row = 0; row < lists_[i]->rowCount(); ++row)
            e.Lists[i].append({lists_[i]->value(row, kKey), lists_[i]->value(row, kName).toString(),
                               lists_[i]->value(row, kLoaded).toString()});
    }
    return e;
}

bool TPageProstredi::Save() {
    for (TMemTable* table : lists_)
        table->submit();
    const TEnvironment environment = Input();
    if (const auto refused = CheckEnvironment(environment)) {
        Warn(*refused);
        return false;
    }
    {
        const TWaitBox wait(QStringLiteral("Ulkádám nastavení Prostředí..."));
        SaveEnvironment(context_.Db(), context_.SpecCena(), context_.SpecApp(), loaded_, environment);
    }
    Load();
    return true;
}
