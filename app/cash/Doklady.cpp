#include "Doklady.h"

#include "AppContext.h"
#include "DeskSurface.h"
#include "FailureGuard.h"
#include "GlobDialog.h"
#include "GlobFunc.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxComboBox.h"
#include "MoxGrid.h"
#include "MoxLabel.h"
#include "MoxNumEdit.h"
#include "QSouDok.h"
#include "ReceiptPrinter.h"

#include <QHBoxLayout>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QColor kRefund(0, 0, 240);
const QStringList kMonths{QStringLiteral("leden"),    QStringLiteral("únor"),     QStringLiteral("březen"),
                          QStringLiteral("duben"),    QStringLiteral("květen"),   QStringLiteral("červen"),
                          QStringLiteral("červenec"), QStringLiteral("srpen"),    QStringLiteral("září"),
                          QStringLiteral("říjen"),    QStringLiteral("listopad"), QStringLiteral("prosinec")};
// A year the list can be asked for while the clerk is still typing one.
constexpr int kFirstYear = 1900;
constexpr int kLastYear = 9999;

// A cancelled receipt's row: the background darkened by 16 in red and 32 in green and blue.
QColor Cancelled(const QColor& background) {
    return QColor(std::max(0, background.red() - 16), std::max(0, background.green() - 32),
                  std::max(0, background.blue() - 32));
}

QString DayText(const TField& field) {
    return field.IsNull() ? QString() : DateToText(QStringLiteral("dd.mm.yyyy"), field.AsDate());
}

QString TimeText(const TField& field) {
    return field.IsNull() ? QString()
                          : DateTimeToText(QStringLiteral("dd.mm.yyyy"), QStringLiteral("hh:mm:ss"),
                                           QStringLiteral(" "), field.AsDateTime());
}

QVariant AmountValue(const TField& field) {
    return field.IsNull() ? QVariant() : QVariant(field.AsFloat());
}

TMoxGrid* Grid(const char* name, TMemTable* table, QWidget* parent) {
    auto* grid = ListGrid(name, table, parent);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    return grid;
}

TMoxCheckBox* Choice(const QString& caption, const char* name, QWidget* parent) {
    auto* choice = Named(new TMoxCheckBox(caption, parent), name);
    choice->setCheckStyle(csRadioButton);
    choice->setGrouped(true);
    return choice;
}

void CommitIfActive(TTransaction& transaction) {
    if (transaction.Active())
        transaction.Commit();
}

} // namespace

TFDoklady::TFDoklady(TAppContext& context, QWidget* parent)
    : TDesk(parent), context_(context), trList_(context.Db().DB),
      doklady_(new TMemTable(
          {QStringLiteral("CISLO_DOK"), QStringLiteral("D_UZP"), QStringLiteral("D_VYSTAVENI"),
           QStringLiteral("D_STORNO"), QStringLiteral("CENA_DPH"), QStringLiteral("CENA"),
           QStringLiteral("ZAKAZNIK"), QStringLiteral("EAN_KOD"), QStringLiteral("C_ZAKLAD_A"),
           QStringLiteral("C_DPH_A"), QStringLiteral("C_ZAKLAD_B"), QStringLiteral("C_DPH_B"),
           QStringLiteral("C_ZAKLAD_0"), QStringLiteral("UZIV_VYSTAVIL"), QStringLiteral("UZIV_STORNO")},
          this)),
      radky_(new TMemTable({QStringLiteral("NAZEV_CESKY"), QStringLiteral("EAN_KOD"),
                            QStringLiteral("D_PUJCENI"), QStringLiteral("D_VRACENI"), QStringLiteral("CENA"),
                            QStringLiteral("DPH"), QStringLiteral("CENA_DPH"), QStringLiteral("POCET_DNI"),
                            QStringLiteral("CENA_RADKU"), QStringLiteral("CENA_RADKU_DPH")},
                           this)),
      Timer(new QTimer(this)) {
    SetDeskSurface(this);
    SetColumnTitles(doklady_,
                    {QStringLiteral("Číslo dokladu"), QStringLiteral("Datum UZP"),
                     QStringLiteral("Datum vystavení"), QStringLiteral("Datum storno"),
                     QStringLiteral("Cena s DPH"), QStringLiteral("Cena"), QStringLiteral("Zákazník"),
                     QStringLiteral("EAN kód"), QStringLiteral("Základ A"), QStringLiteral("DPH A"),
                     QStringLiteral("Základ B"), QStringLiteral("DPH B"), QStringLiteral("Základ 0"),
                     QStringLiteral("Vystavil"), QStringLiteral("Stornoval")});
    doklady_->setColumnDecimals(QStringLiteral("CISLO_DOK"), 0);
    for (const char* column :
         {"CENA_DPH", "CENA", "C_ZAKLAD_A", "C_DPH_A", "C_ZAKLAD_B", "C_DPH_B", "C_ZAKLAD_0"})
        doklady_->setColumnDecimals(QString::fromLatin1(column), 2);
    for (const char* column : {"D_UZP", "D_VYSTAVENI", "D_STORNO"})
        doklady_->setColumnAlignment(QString::fromLatin1(column), Qt::AlignRight | Qt::AlignVCenter);
    SetColumnTitles(radky_,
                    {QStringLiteral("Titul"), QStringLiteral("CN kód"), QStringLiteral("Datum půjčení"),
                     QStringLiteral("Termín vrácení"), QStringLiteral("Cena/den"), QStringLiteral("DPH"),
                     QStringLiteral("Cena s DPH/den"), QStringLiteral("Počet dní"), QStringLiteral("Cena"),
                     QStringLiteral("Cena s DPH")});
    for (const char* column : {"CENA", "CENA_DPH", "CENA_RADKU", "CENA_RADKU_DPH"})
        radky_->setColumnDecimals(QString::fromLatin1(column), 2);
    radky_->setColumnDecimals(QStringLiteral("POCET_DNI"), 0);
    for (const char* column : {"D_PUJCENI", "D_VRACENI"})
        radky_->setColumnAlignment(QString::fromLatin1(column), Qt::AlignRight | Qt::AlignVCenter);
    BuildForm();

    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setSingleShot(true);
    Timer->setInterval(350);
    connect(Timer, &QTimer::timeout, this, [this] { RunReported([this] { LoadLines(); }); });
    for (TMoxCheckBox* box :
         {ChVystavene, ChStornovane, ChObdDnes, ChObdTyden, ChObdMesic, ChObdRok, ChObdVse})
        connect(box, &TMoxCheckBox::changed, this, &TFDoklady::FilterChanged);
    connect(CBMesic, &QComboBox::currentIndexChanged, this, &TFDoklady::FilterChanged);
    connect(ERok, &QLineEdit::textChanged, this, &TFDoklady::FilterChanged);
    connect(doklady_, &TMemTable::currentRowChanged, this, &TFDoklady::CurrentMoved);
    connect(BStorno, &QPushButton::clicked, this, [this] { RunReported([this] { Storno(); }); });
    connect(BTisk, &QPushButton::clicked, this, [this] { RunReported([this] { Tisk(); }); });
    connect(BSouhrn, &QPushButton::clicked, this, [this] { RunReported([this] { Souhrn(); }); });
    GridDoklady->setOnGetCellParams([this](TMoxCellParams& cell) {
        if (cell.highlighted || cell.row < 0 || cell.row >= static_cast<int>(rows_.size()))
            return;
        const TDocRow& row = rows_[static_cast<std::size_t>(cell.row)];
        if (row.cancelled)
            cell.background = Cancelled(cell.background);
        if (row.cenaDph < 0)
            cell.fontColor = kRefund;
    });
    GridRadky->setOnGetCellParams([this](TMoxCellParams& cell) {
        if (!cell.highlighted && radky_->value(cell.row, QStringLiteral("CENA_RADKU_DPH")).toDouble() < 0)
            cell.fontColor = kRefund;
    });
}

TFDoklady::~TFDoklady() {
    // The children going away move the focus and may change the fields; this desk is gone by then.
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
}

void TFDoklady::BuildForm() {
    ChVystavene = Named(new TMoxCheckBox(QStringLiteral("Vyst&avené"), this), "ChVystavene");
    ChStornovane = Named(new TMoxCheckBox(QStringLiteral("Sto&rnované"), this), "ChStornovane");
    ChVystavene->setChecked(true);
    // The period choices share a parent of their own: grouped boxes of one parent are one radio group.
    auto* periods = new QWidget(this);
    ChObdDnes = Choice(QStringLiteral("dn&es"), "ChObdDnes", periods);
    ChObdTyden = Choice(QStringLiteral("týden"), "ChObdTyden", periods);
    ChObdMesic = Choice(QStringLiteral("měsíc"), "ChObdMesic", periods);
    ChObdRok = Choice(QStringLiteral("rok"), "ChObdRok", periods);
    ChObdVse = Choice(QStringLiteral("vše"), "ChObdVse", periods);
    ChObdDnes->setChecked(true);
    auto* periodRow = new QHBoxLayout(periods);
    periodRow->setContentsMargins(0, 0, 0, 0);
    for (TMoxCheckBox* choice : {ChObdDnes, ChObdTyden, ChObdMesic, ChObdRok, ChObdVse})
        periodRow->addWidget(choice);
    CBMesic = Named(new TMoxComboBox(this), "CBMesic");
    for (int i = 0; i < kMonths.size(); ++i)
        CBMesic->addItem(kMonths.at(i), i + 1);
    ERok = Named(new TMoxNumEdit(this), "ERok");
    ERok->setDecimal(0);
    ERok->setThSeparator(false);
    ERok->setMinValue(kFirstYear);
    ERok->setMaxValue(kLastYear);
    FitFieldTo(ERok, QStringLiteral("99999"));
    BSouhrn = Named(new TMoxButton(this), "BSouhrn");

    auto* filters = new QHBoxLayout;
    filters->addWidget(ChVystavene);
    filters->addWidget(ChStornovane);
    filters->addSpacing(12);
    filters->addWidget(periods);
    filters->addWidget(CBMesic);
    filters->addWidget(ERok);
    filters->addStretch();
    filters->addWidget(BSouhrn);

    GridDoklady = Grid("GridDoklady", doklady_, this);
    GridRadky = Grid("GridRadky", radky_, this);
    auto* cancelledLegend = Legend(QStringLiteral("Stornované doklady."), Qt::black, this);
    QPalette tinted = cancelledLegend->palette();
    tinted.setColor(QPalette::Window, Cancelled(Qt::white));
    cancelledLegend->setPalette(tinted);
    BStorno = Named(new TMoxButton(QStringLiteral("St&orno"), this), "BStorno");
    BTisk = Named(new TMoxButton(QStringLiteral("Ti&sk"), this), "BTisk");
    BStorno->setEnabled(false);
    BTisk->setEnabled(false);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(cancelledLegend);
    bottom->addWidget(Legend(QStringLiteral("Dobropis, vracení částky."), kRefund, this));
    bottom->addStretch();
    bottom->addWidget(BStorno);
    bottom->addWidget(BTisk);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(GridDoklady, 3);
    layout->addWidget(GridRadky, 2);
    layout->addLayout(bottom);
}

void TFDoklady::ShowDesk(bool) {
    const QDate today = QDate::currentDate();
    const TMonth opening = OpeningMonth(today);
    settingUp_ = true;
    ERok->setValue(opening.Year);
    CBMesic->setCurrentIndex(opening.Month - 1);
    ShowPeriodControls();
    UpdateSummaryButton();
    if (!context_.SpecCena().GetPlatceDph()) {
        for (const char* column :
             {"D_UZP", "CENA", "C_ZAKLAD_A", "C_DPH_A", "C_ZAKLAD_B", "C_DPH_B", "C_ZAKLAD_0"})
            GridDoklady->setColumnHidden(doklady_->columnIndex(QString::fromLatin1(column)), true);
        for (const char* column : {"CENA", "DPH", "CENA_RADKU"})
            GridRadky->setColumnHidden(radky_->columnIndex(QString::fromLatin1(column)), true);
    }
    GridDoklady->setFocus();
    settingUp_ = false;
    LoadList();
}

void TFDoklady::LeaveDesk() {
    CloseList();
    CommitIfActive(trList_);
}

TDocFilter TFDoklady::Filter() const {
    TDocFilter filter;
    filter.issued = ChVystavene->isChecked();
    filter.cancelled = ChStornovane->isChecked();
    filter.period = ChObdTyden->isChecked()   ? TDocPeriod::Week
                    : ChObdMesic->isChecked() ? TDocPeriod::Month
                    : ChObdRok->isChecked()   ? TDocPeriod::Year
                    : ChObdVse->isChecked()   ? TDocPeriod::All
                                              : TDocPeriod::Today;
    filter.month = CBMesic->currentIndex() + 1;
    filter.year = ERok->valueInt();
    return filter;
}

void TFDoklady::FilterChanged() {
    if (settingUp_)
        return;
    ShowPeriodControls();
    // A year still being typed ("20") asks for nothing; the list stays until it is a year.
    const bool yearShown = ChObdMesic->isChecked() || ChObdRok->isChecked();
    bool number = false;
    const int year = ERok->text().toInt(&number);
    if (yearShown && (!number || year < kFirstYear || year > kLastYear))
        return;
    UpdateSummaryButton();
    RunReported([this] { LoadList(); });
}

void TFDoklady::ShowPeriodControls() {
    CBMesic->setVisible(ChObdMesic->isChecked());
    ERok->setVisible(ChObdMesic->isChecked() || ChObdRok->isChecked());
}

void TFDoklady::UpdateSummaryButton() {
    summaryMonth_ = SummaryMonth(Filter(), QDate::currentDate());
    BSouhrn->setText(SummaryCaption(summaryMonth_));
}

void TFDoklady::LoadList() {
    const TDocRow* current = Current();
    const int remembered = current ? current->kodDok : 0;
    CloseList();
    // A new read sees what the other counters have committed meanwhile. The cut-off is read
    // again too, so a page left open over a close does not offer what can no longer be cancelled.
    CommitIfActive(trList_);
    TDMGlobDB& db = context_.Db();
    cutOff_ = CancellationCutOff(db, trList_);
    auto query = db.OpenQuery(trList_, DocumentsSql(Filter()));
    query->Open();
    QList<QVariantList> rows;
    std::vector<TDocRow> docs;
    for (; !query->Eof(); query->Next()) {
        const auto field = [&](const char* name) -> const TField& {
            return query->FieldByName(QString::fromLatin1(name));
        };
        docs.push_back({field("KOD_DOK").AsInteger(), field("CISLO_DOK").AsInteger(),
                        field("D_VYSTAVENI").AsDateTime(), !field("D_STORNO").IsNull(),
                        field("CENA_DPH").AsFloat()});
        rows.append({field("CISLO_DOK").AsInteger(), DayText(field("D_UZP")), TimeText(field("D_VYSTAVENI")),
                     TimeText(field("D_STORNO")), AmountValue(field("CENA_DPH")), AmountValue(field("CENA")),
                     field("ZAKAZNIK").AsString(), field("EAN_KOD").AsString(),
                     AmountValue(field("C_ZAKLAD_A")), AmountValue(field("C_DPH_A")),
                     AmountValue(field("C_ZAKLAD_B")), AmountValue(field("C_DPH_B")),
                     AmountValue(field("C_ZAKLAD_0")), field("UZIV_VYSTAVIL").AsString(),
                     field("UZIV_STORNO").AsString()});
    }
    query.reset();
    // Held while the page is shown, the transaction would hold back the server's clean-up.
    CommitIfActive(trList_);
    rows_ = std::move(docs);
    doklady_->setRows(std::move(rows));
    int row = 0;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].kodDok == remembered)
            row = static_cast<int>(i);
    if (!rows_.empty()) {
        doklady_->setCurrentRow(row);
        GridDoklady->setCurrentIndex(doklady_->index(row, 0));
    }
    CurrentMoved();
}

void TFDoklady::CloseList() {
    Timer->stop();
    radky_->clear();
    rows_.clear();
    doklady_->clear();
    BStorno->setEnabled(false);
    BTisk->setEnabled(false);
}

const TFDoklady::TDocRow* TFDoklady::Current() const {
    const int row = doklady_->currentRow();
    if (row < 0 || row >= static_cast<int>(rows_.size()))
        return nullptr;
    return &rows_[static_cast<std::size_t>(row)];
}

void TFDoklady::CurrentMoved() {
    Timer->stop();
    radky_->clear();
    const TDocRow* row = Current();
    BStorno->setEnabled(row && Cancellable(row->issued, row->cancelled, cutOff_));
    BTisk->setEnabled(row != nullptr);
    if (row)
        Timer->start();
}

void TFDoklady::LoadLines() {
    Timer->stop();
    const TDocRow* row = Current();
    if (!row)
        return;
    auto query = context_.Db().OpenQuery(trList_, DocumentLinesSql(row->kodDok));
    query->Open();
    QList<QVariantList> lines;
    for (; !query->Eof(); query->Next()) {
        const auto field = [&](const char* name) -> const TField& {
            return query->FieldByName(QString::fromLatin1(name));
        };
        lines.append({field("NAZEV_CESKY").AsString(), field("EAN_KOD").AsString(),
                      TimeText(field("D_PUJCENI")), DayText(field("D_VRACENI")), AmountValue(field("CENA")),
                      field("DPH").AsString(), AmountValue(field("CENA_DPH")), field("POCET_DNI").AsInteger(),
                      AmountValue(field("CENA_RADKU")), AmountValue(field("CENA_RADKU_DPH"))});
    }
    query.reset();
    CommitIfActive(trList_);
    radky_->setRows(std::move(lines));
}

void TFDoklady::Storno() {
    const TDocRow* row = Current();
    if (!row || !BStorno->isEnabled())
        return;
    const int kodDok = row->kodDok;
    const int cislo = row->cislo;
    if (Ask(QStringLiteral("Opravdu stornovat doklad číslo ") + QString::number(cislo) + u'?') !=
        TMsgResult::Yes)
        return;
    // The cancellation is stored first; only then is the clerk asked about the loans, so no
    // lock waits for an answer.
    TDMGlobDB& db = context_.Db();
    const int kodUziv = context_.CurrentUser.KodUziv;
    const TCancelResult cancelled = CancelDocument(db, kodDok, kodUziv);
    if (cancelled.outcome != TCancelOutcome::Cancelled) {
        Warn(CancelRefusalText(cancelled.outcome, cislo));
        LoadList();
        return;
    }
    const bool loansOut = HasOpenLoans(db, trList_, kodDok);
    CommitIfActive(trList_);
    if (loansOut &&
        Ask(QStringLiteral("Vrátit půjčené nosiče spojené se stornovaným dokladem?")) == TMsgResult::Yes) {
        const TCancelResult returned = ReturnCancelledLoans(db, kodDok, kodUziv);
        if (returned.outcome != TCancelOutcome::Cancelled)
            Warn(CancelRefusalText(returned.outcome, cislo));
    }
    LoadList();
}

void TFDoklady::Tisk() {
    const TDocRow* row = Current();
    if (!row)
        return;
    TReceiptPrinter* printer = context_.ReceiptPrinter;
    if (printer == nullptr) {
        Warn(QStringLiteral("Tiskárna paragonů není nastavena.\rParagon nebyl vytištěn."));
        return;
    }
    printer->PrintDocument(row->kodDok, 1, trList_);
    CommitIfActive(trList_);
}

void TFDoklady::Souhrn() {
    TQRSouDok(context_, summaryMonth_).Preview(this);
}
