#include "Inventura.h"

#include "AppContext.h"
#include "DeskSurface.h"
#include "EnterKey.h"
#include "FailureGuard.h"
#include "GlobDialog.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxEdit.h"
#include "MoxGrid.h"
#include "MoxLabel.h"
#include "MoxNumEdit.h"
#include "QInventura.h"
#include "ReportPreview.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

const QColor kPujcen(224, 128, 128);
const QColor kNacten(128, 128, 224);
const QColor kJiny(0, 224, 0);

// The grid shows the first five columns; the keys and the state stay hidden.
const QStringList kColumns{QStringLiteral("TYP_NOSICE"), QStringLiteral("NAZEV_CESKY"),
                           QStringLiteral("NAZEV_ORIG"), QStringLiteral("CN_KOD"),
                           QStringLiteral("EAN_KOD"),    QStringLiteral("KOD_TITUL"),
                           QStringLiteral("KOD_NOSIC"),  QStringLiteral("STAV_NOSIC")};
const QStringList kTitles{QStringLiteral("Typ"), QStringLiteral("Název"), QStringLiteral("Originální název"),
                          QStringLiteral("CN kód"), QStringLiteral("EAN kód")};

QVariantList Values(const TStockRow& row) {
    return {QString(row.typNosice), row.nazevCesky, row.nazevOrig,    row.cnKod, row.eanKod,
            row.kodTitul,           row.kodNosic,   QString(row.stav)};
}

TMoxCheckBox* Choice(const QString& caption, const char* name, bool checked, QWidget* parent) {
    auto* box = Named(new TMoxCheckBox(caption, parent), name);
    box->setChecked(checked);
    return box;
}

TMoxNumEdit* Count(const char* name, QWidget* parent) {
    auto* field = Named(new TMoxNumEdit(parent), name);
    field->setDecimal(0);
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignRight);
    FitFieldTo(field, QStringLiteral("000 000"));
    field->setValue(0);
    return field;
}

} // namespace

TFInventura::TFInventura(TAppContext& context, QWidget* parent)
    : TDesk(parent), context_(context), table_(new TMemTable(kColumns, this)) {
    for (int i = 0; i < kTitles.size(); ++i)
        table_->setColumnTitle(kColumns.at(i), kTitles.at(i));
    BuildForm();
    GridNosice->setOnGetCellParams([this](TMoxCellParams& cell) {
        if (cell.highlighted)
            return;
        const QString stav = table_->value(cell.row, QStringLiteral("STAV_NOSIC")).toString();
        cell.fontColor = StateColor(stav.isEmpty() ? QChar() : stav.front());
    });
    connect(BNacist, &TMoxButton::clicked, this, [this] { RunReported([this] { Nacist(); }); });
    connect(BHledej, &TMoxButton::clicked, this, [this] { RunReported([this] { Hledej(); }); });
    RunOnEnter(EHledejEAN, [this] {
        if (BHledej->isEnabled())
            BHledej->click();
    });
    connect(BVymazat, &TMoxButton::clicked, this, [this] { Vymazat(); });
    connect(BDetail, &TMoxButton::clicked, this, [this] { Detail(); });
    connect(BTisk, &TMoxButton::clicked, this, [this] { RunReported([this] { Tisk(); }); });
}

void TFInventura::BuildForm() {
    SetDeskSurface(this);
    LZobrazit = Named(new TMoxLabel(QStringLiteral("Zobrazit nosiče:"), this), "LZobrazit");
    ChNosicVolne = Choice(QStringLiteral("&Volné"), "ChNosicVolne", true, this);
    ChNosicPujcene = Choice(QStringLiteral("P&ůjčené"), "ChNosicPujcene", false, this);
    ChMazat = Choice(QStringLiteral("&Mazat načtené"), "ChMazat", false, this);
    BNacist = Named(new TMoxButton(QStringLiteral("Načíst"), this), "BNacist");
    EHledejEAN = Named(new TMoxEdit(this), "EHledejEAN");
    EHledejEAN->setMaxLength(32);
    FitFieldTo(EHledejEAN, QStringLiteral("0000000000000000"));
    LHledejEAN = Named(Caption(QStringLiteral("C&N kód:"), EHledejEAN, this), "LHledejEAN");
    BHledej = Named(new TMoxButton(QStringLiteral("Hledej"), this), "BHledej");
    BVymazat = Named(new TMoxButton(QStringLiteral("Vymazat"), this), "BVymazat");
    EPocetD = Count("EPocetD", this);
    EPocetV = Count("EPocetV", this);
    EInvD = Count("EInvD", this);
    EInvV = Count("EInvV", this);
    GridNosice = Named(new TMoxGrid(this), "GridNosice");
    GridNosice->setModel(table_);
    GridNosice->setReadOnly(true);
    GridNosice->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridNosice->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int column = kTitles.size(); column < kColumns.size(); ++column)
        GridNosice->setColumnHidden(column, true);
    BDetail = Named(new TMoxButton(QStringLiteral("&Detail nosiče"), this), "BDetail");
    BTisk = Named(new TMoxButton(QStringLiteral("Ti&sk"), this), "BTisk");

    auto* choices = new QHBoxLayout;
    choices->addWidget(LZobrazit);
    choices->addWidget(ChNosicVolne);
    choices->addWidget(ChNosicPujcene);
    choices->addSpacing(12);
    choices->addWidget(ChMazat);
    choices->addSpacing(12);
    choices->addWidget(BNacist);
    choices->addStretch();

    auto* scan = new QHBoxLayout;
    scan->addWidget(LHledejEAN);
    scan->addWidget(EHledejEAN);
    scan->addWidget(BHledej);
    scan->addSpacing(12);
    scan->addWidget(BVymazat);
    scan->addStretch();

    auto* counts = new QGridLayout;
    const auto countRow = [&](int line, const QString& caption, TMoxNumEdit* dvd, TMoxNumEdit* vhs) {
        counts->addWidget(new TMoxLabel(caption, this), line, 0);
        counts->addWidget(Caption(QStringLiteral("DVD:"), dvd, this), line, 1);
        counts->addWidget(dvd, line, 2);
        counts->addWidget(Caption(QStringLiteral("VHS:"), vhs, this), line, 3);
        counts->addWidget(vhs, line, 4);
    };
    countRow(0, QStringLiteral("V půjčovně v tuto chvíli stavem nosičů:"), EPocetD, EPocetV);
    countRow(1, QStringLiteral("Nosiče načtené do inventury:"), EInvD, EInvV);
    counts->setColumnStretch(5, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Legend(QStringLiteral("Nosič je v půjčovně,"), Qt::black, this));
    bottom->addWidget(Legend(QStringLiteral("- půjčen,"), kPujcen, this));
    bottom->addWidget(Legend(QStringLiteral("- načten."), kNacten, this));
    bottom->addStretch();
    bottom->addWidget(BDetail);
    bottom->addWidget(BTisk);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addLayout(scan);
    layout->addLayout(counts);
    layout->addWidget(GridNosice, 1);
    layout->addLayout(bottom);

    SetScanning(false);
    BVymazat->setEnabled(false);
    UpdateListButtons();
}

QColor TFInventura::StateColor(QChar stav) {
    switch (stav.unicode()) {
    case u'A':
        return Qt::black;
    case u'P':
        return kPujcen;
    case u'N':
        return kNacten;
    default:
        return kJiny;
    }
}

void TFInventura::ShowDesk(bool) {
    ChNosicVolne->setFocus();
}

bool TFInventura::CanLeave() {
    if (!list_.IsOpen() || !list_.Locked())
        return true;
    return Ask(QStringLiteral("Načtená data inventury nejsou nikde uložena a odchodem z inventury se "
                              "ztratí.\rOpravdu inventuru opustit?")) == TMsgResult::Yes;
}

void TFInventura::LeaveDesk() {
    list_.Close();
    table_->clear();
}

void TFInventura::Nacist() {
    {
        TWaitBox wait(QStringLiteral("Načítám nosiče..."));
        TDMGlobDB& db = context_.Db();
        const TStockChoices choices{ChNosicVolne->isChecked(), ChNosicPujcene->isChecked()};
        RunInTransaction(db.DB, [&](TTransaction& tr) { list_.Load(db, tr, choices); });
        ShowList();
    }
    SetScanning(true);
    EHledejEAN->setFocus();
}

void TFInventura::ShowList() {
    QList<QVariantList> rows;
    rows.reserve(list_.Size());
    for (int row = 0; row < list_.Size(); ++row)
        rows.append(Values(list_.Row(row)));
    table_->setRows(std::move(rows));
    if (!table_->isEmpty())
        table_->setCurrentRow(0);
    EPocetD->setValue(list_.InShopDvd());
    EPocetV->setValue(list_.InShopVhs());
    ShowFound();
    UpdateListButtons();
}

void TFInventura::ShowFound() {
    EInvD->setValue(list_.FoundDvd());
    EInvV->setValue(list_.FoundVhs());
}

void TFInventura::Hledej() {
    const QString typed = EHledejEAN->text();
    if (typed.isEmpty())
        return;
    TDMGlobDB& db = context_.Db();
    TScanResult result;
    RunInTransaction(db.DB,
                     [&](TTransaction& tr) { result = list_.Scan(db, tr, typed, ChMazat->isChecked()); });
    if (result.outcome == TScanOutcome::NotInRegister) {
        // The clerk sees what was read and may correct it.
        Warn(ScanMessage(result, typed));
        return;
    }
    if (result.locked) {
        SetChoicesOpen(false);
        BVymazat->setEnabled(true);
    }
    if (result.row >= 0)
        table_->setCurrentRow(result.row);
    switch (result.outcome) {
    case TScanOutcome::NotInList:
        ReportError(ScanMessage(result, typed));
        break;
    case TScanOutcome::OnLoan:
    case TScanOutcome::AlreadyFound:
        Warn(ScanMessage(result, typed));
        break;
    case TScanOutcome::Found:
        if (result.removed)
            table_->deleteRecord(result.row);
        else
            table_->setValue(result.row, QStringLiteral("STAV_NOSIC"), QStringLiteral("N"));
        ShowFound();
        UpdateListButtons();
        break;
    case TScanOutcome::NotInRegister:
        break;
    }
    EHledejEAN->clear();
}

void TFInventura::Vymazat() {
    if (Ask(QStringLiteral("Opravdu vymazat načtená data inventury?")) != TMsgResult::Yes)
        return;
    SetChoicesOpen(true);
    SetScanning(false);
    BVymazat->setEnabled(false);
    list_.Close();
    table_->clear();
    UpdateListButtons();
}

void TFInventura::Detail() {
    const int row = table_->currentRow();
    if (row < 0 || !context_.Requests)
        return;
    context_.Requests->RequestTitle(table_->value(row, QStringLiteral("KOD_TITUL")).toInt());
}

void TFInventura::Tisk() {
    ShowReportPreview(TQRInventura(list_, ReportShop(context_.Pobocka())).Report(), this);
}

void TFInventura::SetChoicesOpen(bool open) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{LZobrazit, ChNosicVolne, ChNosicPujcene, ChMazat, BNacist})
        control->setEnabled(open);
}

void TFInventura::SetScanning(bool enabled) {
    for (QWidget* control : std::initializer_list<QWidget*>{LHledejEAN, EHledejEAN, BHledej})
        control->setEnabled(enabled);
}

void TFInventura::UpdateListButtons() {
    BDetail->setEnabled(list_.IsOpen() && !list_.IsEmpty());
    BTisk->setEnabled(list_.IsOpen());
}
