#include "Trzba.h"

#include "AppContext.h"
#include "DayFigures.h"
#include "DeskSurface.h"
#include "FailureGuard.h"
#include "GlobDialog.h"
#include "GlobFunc.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxEdit.h"
#include "MoxGrid.h"
#include "MoxLabel.h"
#include "MoxNumEdit.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace {

const QColor kDotace(0, 128, 0);
const QColor kOdvod(128, 0, 0);
const QString kUnsaved = QStringLiteral("Odvod/dotace hotovosti nebyl/a uložen/a. Uložit?");

TMoxNumEdit* Amount(const char* name, bool readOnly, QWidget* parent) {
    auto* edit = Named(new TMoxNumEdit(parent), name);
    edit->setDecimal(2);
    if (!readOnly) {
        edit->setMinValue(0);
        edit->setMaxValue(kMaxCashMovement);
    }
    edit->setReadOnly(readOnly);
    edit->setMinimumWidth(130);
    edit->setValue(0);
    return edit;
}

QString TimeText(const TField& field) {
    return field.IsNull() ? QString()
                          : DateTimeToText(QStringLiteral("dd.mm.yyyy"), QStringLiteral("hh:mm:ss"),
                                           QStringLiteral(" "), field.AsDateTime());
}

QVariant AmountValue(const TField& field) {
    return field.IsNull() ? QVariant() : QVariant(field.AsFloat());
}

void CommitIfActive(TTransaction& transaction) {
    if (transaction.Active())
        transaction.Commit();
}

} // namespace

TFTrzba::TFTrzba(TAppContext& context, QWidget* parent)
    : TDesk(parent), context_(context), trLists_(context.Db().DB),
      hotovost_(new TMemTable({QStringLiteral("DATUM"), QStringLiteral("CASTKA"), QStringLiteral("POPIS"),
                               QStringLiteral("UZIVATEL")},
                              this)),
      trzby_(new TMemTable({QStringLiteral("DATUM"), QStringLiteral("TRZBA"), QStringLiteral("POKLADNA"),
                            QStringLiteral("ZALOHA_PREV"), QStringLiteral("ZALOHA_VRAC"),
                            QStringLiteral("NOSIC_PUJC"), QStringLiteral("NOSIC_VRAC"),
                            QStringLiteral("HOT_DOTACE"), QStringLiteral("HOT_ODVOD"),
                            QStringLiteral("D_UZAVRENI"), QStringLiteral("UZIV_UZAVREL")},
                           this)) {
    SetDeskSurface(this);
    SetColumnTitles(hotovost_, {QStringLiteral("Datum"), QStringLiteral("Částka"),
                                QStringLiteral("Popis transakce"), QStringLiteral("Zapsal")});
    hotovost_->setColumnDecimals(QStringLiteral("CASTKA"), 2);
    hotovost_->setColumnAlignment(QStringLiteral("DATUM"), Qt::AlignRight | Qt::AlignVCenter);
    SetColumnTitles(trzby_, {QStringLiteral("Datum"), QStringLiteral("Tržba"), QStringLiteral("Pokladna"),
                             QStringLiteral("Převzaté zálohy"), QStringLiteral("Zálohyh vrácené"),
                             QStringLiteral("Půjčené nosiče"), QStringLiteral("Vrácené nosiče"),
                             QStringLiteral("Dotace hotovosti"), QStringLiteral("Odvod hotovosti"),
                             QStringLiteral("Datum uzavření"), QStringLiteral("Uzavřel")});
    for (const char* column : {"TRZBA", "POKLADNA", "ZALOHA_PREV", "ZALOHA_VRAC", "HOT_DOTACE", "HOT_ODVOD"})
        trzby_->setColumnDecimals(QString::fromLatin1(column), 2);
    for (const char* column : {"NOSIC_PUJC", "NOSIC_VRAC"})
        trzby_->setColumnDecimals(QString::fromLatin1(column), 0);
    for (const char* column : {"DATUM", "D_UZAVRENI"})
        trzby_->setColumnAlignment(QString::fromLatin1(column), Qt::AlignRight | Qt::AlignVCenter);
    BuildForm();

    connect(EOdvod, &QLineEdit::textChanged, this, &TFTrzba::InputChanged);
    connect(EDodat, &QLineEdit::textChanged, this, &TFTrzba::InputChanged);
    connect(BUlozit, &QPushButton::clicked, this, [this] { Ulozit(); });
    connect(BPredHot, &QPushButton::clicked, this,
            [this] { RunReported([this] { ShowMovementsMonth(movementsMonth_.Previous()); }); });
    connect(BDalsiHot, &QPushButton::clicked, this,
            [this] { RunReported([this] { ShowMovementsMonth(movementsMonth_.Next()); }); });
    connect(BPredTrz, &QPushButton::clicked, this,
            [this] { RunReported([this] { ShowClosesMonth(closesMonth_.Previous()); }); });
    connect(BDalsiTrz, &QPushButton::clicked, this,
            [this] { RunReported([this] { ShowClosesMonth(closesMonth_.Next()); }); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { FocusChanged(now); });
    GridHotovost->setOnGetCellParams([this](TMoxCellParams& cell) {
        if (!cell.highlighted)
            cell.fontColor = AmountColor(hotovost_->value(cell.row, QStringLiteral("CASTKA")).toDouble());
    });
}

TFTrzba::~TFTrzba() {
    // The children going away move the focus, and an amount field that loses it rewrites its
    // text; this desk is gone by then and must not be called.
    qApp->disconnect(this);
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
}

void TFTrzba::BuildForm() {
    EPokladnaDnes = Amount("EPokladnaDnes", true, this);
    EPokladna = Amount("EPokladna", true, this);
    EOdvod = Amount("EOdvod", false, this);
    EDodat = Amount("EDodat", false, this);
    EPopis = Named(new TMoxEdit(this), "EPopis");
    EPopis->setMaxLength(160);
    BUlozit = Named(new TMoxButton(QStringLiteral("Uložit"), this), "BUlozit");
    BUlozit->setDefault(true);
    BUlozit->setEnabled(false);

    auto* figures = new QGridLayout;
    const auto row = [&](int line, int column, const QString& caption, QWidget* edit, bool currency) {
        auto* label = new TMoxLabel(caption, this);
        label->setBuddy(edit);
        figures->addWidget(label, line, column * 4);
        figures->addWidget(edit, line, column * 4 + 1);
        if (currency) {
            auto* mena = new TMoxLabel(this);
            currencies_.push_back(mena);
            figures->addWidget(mena, line, column * 4 + 2);
        }
    };
    row(0, 0, QStringLiteral("Dn&ešní počáteční stav pokladny:"), EPokladnaDnes, true);
    row(1, 0, QStringLiteral("&Aktuální stav pokladny:"), EPokladna, true);
    row(0, 1, QStringLiteral("&Odvést tržbu v částce:"), EOdvod, true);
    row(1, 1, QStringLiteral("Dodat &hotovost v částce:"), EDodat, true);
    auto* popis = new TMoxLabel(QStringLiteral("Popi&s transakce:"), this);
    popis->setBuddy(EPopis);
    figures->addWidget(popis, 2, 4);
    // The description takes what width is left; "Uložit" goes under it, so the desk still fits
    // the main window at its smallest.
    figures->addWidget(EPopis, 2, 5, 1, 3);
    figures->addWidget(BUlozit, 3, 5, Qt::AlignLeft);
    figures->setColumnMinimumWidth(3, 24);
    figures->setColumnStretch(7, 1);

    const auto monthBar = [&](const QString& caption, TMoxLabel*& period, TMoxButton*& previous,
                              TMoxButton*& next, const char* names[3]) {
        auto* bar = new QHBoxLayout;
        auto* title = new TMoxLabel(caption, this);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        period = Named(new TMoxLabel(this), names[0]);
        period->setFont(bold);
        previous = Named(new TMoxButton(this), names[1]);
        next = Named(new TMoxButton(this), names[2]);
        bar->addWidget(title);
        bar->addStretch();
        bar->addWidget(previous);
        bar->addWidget(period);
        bar->addWidget(next);
        return bar;
    };
    const char* hotNames[3] = {"LObdobiHot", "BPredHot", "BDalsiHot"};
    const char* trzNames[3] = {"LObdobiTrz", "BPredTrz", "BDalsiTrz"};
    auto* hotBar = monthBar(QStringLiteral("Historie odvodů/dotací pokladny:"), LObdobiHot, BPredHot,
                            BDalsiHot, hotNames);
    auto* trzBar = monthBar(QStringLiteral("Přehled tržeb:"), LObdobiTrz, BPredTrz, BDalsiTrz, trzNames);
    GridHotovost = ListGrid("GridHotovost", hotovost_, this);
    GridTrzby = ListGrid("GridTrzby", trzby_, this);

    auto* legend = new QHBoxLayout;
    legend->addWidget(Legend(QStringLiteral("Dotace."), kDotace, this));
    legend->addWidget(Legend(QStringLiteral("Odvod."), kOdvod, this));
    legend->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(figures);
    layout->addSpacing(6);
    layout->addLayout(hotBar);
    layout->addWidget(GridHotovost, 1);
    layout->addLayout(legend);
    layout->addSpacing(6);
    layout->addLayout(trzBar);
    layout->addWidget(GridTrzby, 1);
    setTabOrder(EOdvod, EDodat);
    setTabOrder(EDodat, EPopis);
    setTabOrder(EPopis, BUlozit);
}

QColor TFTrzba::AmountColor(double castka) {
    return castka > 0 ? kDotace : kOdvod;
}

void TFTrzba::ShowDesk(bool) {
    const QDate today = QDate::currentDate();
    movementsMonth_ = closesMonth_ = TMonth{today.year(), today.month()};
    const QString mena = context_.SpecCena().GetMena();
    for (QLabel* label : currencies_)
        label->setText(mena);
    EOdvod->setFocus();
    TWaitBox wait(QStringLiteral("Počítám tržbu..."));
    ShowClosesMonth(closesMonth_);
    ShowFigures();
    ShowMovementsMonth(movementsMonth_);
}

bool TFTrzba::CanLeave() {
    if (!BUlozit->isEnabled())
        return true;
    switch (Ask(kUnsaved, true)) {
    case TMsgResult::Yes:
        return Ulozit();
    case TMsgResult::No:
        return true;
    default:
        return false;
    }
}

void TFTrzba::LeaveDesk() {
    hotovost_->clear();
    trzby_->clear();
    CommitIfActive(trLists_);
}

void TFTrzba::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && BUlozit->isDefault()) {
        if (BUlozit->isEnabled())
            Ulozit();
        return;
    }
    TDesk::keyPressEvent(event);
}

void TFTrzba::InputChanged() {
    BUlozit->setEnabled(ReadInput().CanSave());
}

void TFTrzba::FocusChanged(QWidget* now) {
    if (now == nullptr || !isAncestorOf(now))
        return;
    // Enter in a list belongs to the list, not to the save.
    BUlozit->setDefault(now != GridHotovost && now != GridTrzby);
}

TCashMovementInput TFTrzba::ReadInput() const {
    // As typed: an amount out of range is refused with a message, not quietly limited.
    return {RoundTo(0.01, EOdvod->typedValue()), RoundTo(0.01, EDodat->typedValue()), EPopis->text()};
}

bool TFTrzba::Ulozit() {
    const TCashMovementInput input = ReadInput();
    if (!input.CanSave())
        return false;
    if (const auto problem = CashMovementProblem(input)) {
        Warn(*problem);
        return false;
    }
    try {
        SaveCashMovement(context_.Db(), input, context_.CurrentUser.KodUziv);
    } catch (...) {
        // Nothing was stored; what the clerk typed stays for another attempt.
        ReportCurrentException();
        return false;
    }
    BUlozit->setFocus();
    const TMoxNumEdit* typed = input.TakeOut != 0 ? EOdvod : EDodat;
    Inform(CashMovementSavedText(input, typed->format(input.TakeOut != 0 ? input.TakeOut : input.Add),
                                 context_.SpecCena().GetMena()));
    EOdvod->setValue(0);
    EDodat->setValue(0);
    EPopis->clear();
    BUlozit->setEnabled(false);
    RunReported([this] {
        ShowFigures();
        ShowMovementsMonth(movementsMonth_);
    });
    return true;
}

void TFTrzba::ShowFigures() {
    TDMGlobDB& db = context_.Db();
    const double opening = YesterdayTillBalance(db, trLists_);
    EPokladnaDnes->setValue(opening);
    EPokladna->setValue(opening + DayFigures(db, trLists_, TDayStart::Today()).Net());
    CommitIfActive(trLists_);
}

void TFTrzba::ShowMovementsMonth(TMonth month) {
    // A new read sees what the other counters have committed meanwhile.
    CommitIfActive(trLists_);
    auto query = context_.Db().OpenQuery(trLists_, CashMovementsSql(month));
    query->Open();
    QList<QVariantList> rows;
    for (; !query->Eof(); query->Next()) {
        const auto field = [&](const char* name) -> const TField& {
            return query->FieldByName(QString::fromLatin1(name));
        };
        rows.append({TimeText(field("DATUM")), AmountValue(field("CASTKA")), field("POPIS").AsString(),
                     field("UZIVATEL").AsString()});
    }
    query.reset();
    // Held while the page is shown, the transaction would hold back the server's clean-up.
    CommitIfActive(trLists_);
    hotovost_->setRows(std::move(rows));
    // Only a month that loaded is named, so a failed move leaves the list on the month shown.
    movementsMonth_ = month;
    LObdobiHot->setText(month.Text());
    BPredHot->setText(month.Previous().Text());
    BDalsiHot->setText(month.Next().Text());
}

void TFTrzba::ShowClosesMonth(TMonth month) {
    CommitIfActive(trLists_);
    auto query = context_.Db().OpenQuery(trLists_, ClosesSql(month));
    query->Open();
    QList<QVariantList> rows;
    for (; !query->Eof(); query->Next()) {
        const auto field = [&](const char* name) -> const TField& {
            return query->FieldByName(QString::fromLatin1(name));
        };
        rows.append({DateToText(QStringLiteral("dd.mm.yyyy"), field("DATUM").AsDate()),
                     AmountValue(field("TRZBA")), AmountValue(field("POKLADNA")),
                     AmountValue(field("ZALOHA_PREV")), AmountValue(field("ZALOHA_VRAC")),
                     field("NOSIC_PUJC").AsInteger(), field("NOSIC_VRAC").AsInteger(),
                     AmountValue(field("HOT_DOTACE")), AmountValue(field("HOT_ODVOD")),
                     TimeText(field("D_UZAVRENI")), field("UZIV_UZAVREL").AsString()});
    }
    query.reset();
    CommitIfActive(trLists_);
    trzby_->setRows(std::move(rows));
    closesMonth_ = month;
    LObdobiTrz->setText(month.Text());
    BPredTrz->setText(month.Previous().Text());
    BDalsiTrz->setText(month.Next().Text());
}
