#include "ZakHistorie.h"

#include "AppContext.h"
#include "CustomerSql.h"
#include "DeskSurface.h"
#include "GlobDialog.h"
#include "GlobFunc.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxGrid.h"
#include "MoxLabel.h"
#include "MoxMemo.h"
#include "MoxNumEdit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

constexpr int kMessageLimit = 4096;

QString FieldTime(const TField& field) {
    return TimestampText(field.AsDateTime());
}

QString DateText(const TField& field) {
    return field.IsNull() ? QString() : DateToText(QStringLiteral("dd.mm.yyyy"), field.AsDate());
}

QVariant Amount(const TField& field) {
    return field.IsNull() ? QVariant() : QVariant(field.AsFloat());
}

TMoxNumEdit* Figure(const char* name, int decimals, QWidget* parent) {
    auto* edit = Named(new TMoxNumEdit(parent), name);
    edit->setDecimal(decimals);
    edit->setReadOnly(true);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

} // namespace

TFZakHistorie::TFZakHistorie(TAppContext& ctx, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint), ctx_(ctx),
      pujcky_(new TMemTable(this)), zpravy_(new TMemTable(this)), gridPujcky_(new TMoxGrid(this)),
      gridZpravy_(new TMoxGrid(this)), mZprava_(new TMoxMemo(this)),
      ePujcenych_(Figure("EPujcenych", 0, this)), eNevracenych_(Figure("ENevracenych", 0, this)),
      ePozde_(Figure("EPozde", 0, this)), ePomer_(Figure("EPomer", 2, this)),
      eTrzba_(Figure("ETrzba", 2, this)) {
    setObjectName(QStringLiteral("FZakHistorie"));
    setWindowTitle(QStringLiteral("Historie půjček: "));
    resize(900, 640);
    SetDeskSurface(this);

    pujcky_->setColumns(
        {QStringLiteral("EAN_KOD"), QStringLiteral("NAZEV_CESKY"), QStringLiteral("D_PUJCENI"),
         QStringLiteral("CENA_PUJCKA"), QStringLiteral("D_VRACENI"), QStringLiteral("TERMIN_VRACENI"),
         QStringLiteral("TERMIN_PUVODNI"), QStringLiteral("D_PRIJMU"), QStringLiteral("CENA_NAKUP"),
         QStringLiteral("D_ZRUSENI"), QStringLiteral("DUVOD_ZRUSENI")});
    const QStringList titles{
        QStringLiteral("CN kód"),         QStringLiteral("Titul"),         QStringLiteral("Datum půjčení"),
        QStringLiteral("Cena půjčky"),    QStringLiteral("Datum vrácení"), QStringLiteral("Termín vrácení"),
        QStringLiteral("Prodlouženo z"),  QStringLiteral("Datum příjmu"),  QStringLiteral("Nákupní cena"),
        QStringLiteral("Datum vyřazení"), QStringLiteral("Důvod vyřazení")};
    for (int i = 0; i < titles.size(); ++i)
        pujcky_->setColumnTitle(pujcky_->columns().at(i), titles.at(i));
    pujcky_->setColumnDecimals(QStringLiteral("CENA_PUJCKA"), 2);
    pujcky_->setColumnDecimals(QStringLiteral("CENA_NAKUP"), 2);
    gridPujcky_->setObjectName(QStringLiteral("GridPujcky"));
    gridPujcky_->setModel(pujcky_);
    gridPujcky_->setReadOnly(true);
    gridPujcky_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridPujcky_->setOnGetCellParams([this](TMoxCellParams& cell) {
        if (cell.highlighted || cell.row < 0 || cell.row >= static_cast<int>(looks_.size()))
            return;
        const TLoanRowLook& look = looks_[static_cast<std::size_t>(cell.row)];
        if (look.font.isValid())
            cell.fontColor = look.font;
        if (look.dueCell && cell.field == QStringLiteral("D_VRACENI"))
            cell.background = kLateColour;
    });

    zpravy_->setColumns({QStringLiteral("DATUM_ODS"), QStringLiteral("EMAIL_ADR"),
                         QStringLiteral("EMAIL_SUBJ"), QStringLiteral("SMS_TEL"),
                         QStringLiteral("SMS_MESSAGE"), QStringLiteral("UZIVATEL")});
    const QStringList messageTitles{QStringLiteral("Datum odeslání"), QStringLiteral("Email: Adresa"),
                                    QStringLiteral("Email: Předmět"), QStringLiteral("SMS: Tel. číslo"),
                                    QStringLiteral("SMS: Zpráva"),    QStringLiteral("Odeslal")};
    for (int i = 0; i < messageTitles.size(); ++i)
        zpravy_->setColumnTitle(zpravy_->columns().at(i), messageTitles.at(i));
    gridZpravy_->setObjectName(QStringLiteral("GridZpravy"));
    gridZpravy_->setModel(zpravy_);
    gridZpravy_->setReadOnly(true);
    gridZpravy_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mZprava_->setObjectName(QStringLiteral("MZprava"));
    mZprava_->setReadOnly(true);
    mZprava_->setMaximumHeight(110);
    connect(zpravy_, &TMemTable::currentRowChanged, this, [this](int row) {
        mZprava_->setPlainText(row >= 0 && row < static_cast<int>(texts_.size())
                                   ? texts_[static_cast<std::size_t>(row)]
                                   : QString());
    });

    auto* legend = new QHBoxLayout;
    legend->addWidget(Legend(QStringLiteral("Nosič je již vyřazen."), kRetiredColour, this));
    legend->addWidget(Legend(QStringLiteral("Pozdě vrácený nosič."), kLateColour, this));
    legend->addWidget(Legend(QStringLiteral("Právě půjčený nosič."), kLentColour, this));
    legend->addStretch();

    auto* figures = new QGridLayout;
    const auto addFigure = [&](int row, int column, const QString& caption, TMoxNumEdit* edit,
                               const QString& unit) {
        auto* label = new TMoxLabel(caption, this);
        label->setBuddy(edit);
        figures->addWidget(label, row, column * 3);
        figures->addWidget(edit, row, column * 3 + 1);
        if (!unit.isEmpty())
            figures->addWidget(new TMoxLabel(unit, this), row, column * 3 + 2);
    };
    addFigure(0, 0, QStringLiteral("&Půjčených nosičů:"), ePujcenych_, {});
    addFigure(1, 0, QStringLiteral("&Nevrácených nosičů:"), eNevracenych_, {});
    addFigure(2, 0, QStringLiteral("Pozdě &vrácených nosičů:"), ePozde_, {});
    addFigure(0, 1, QStringLiteral("Poměr po&zdě vrácených:"), ePomer_, QStringLiteral("%"));
    addFigure(1, 1, QStringLiteral("Celková &tržba:"), eTrzba_, ctx_.SpecCena().GetMena());
    figures->setColumnStretch(6, 1);

    auto* zavrit = new TMoxButton(QStringLiteral("Zavřít"), this);
    zavrit->setObjectName(QStringLiteral("BZavrit"));
    connect(zavrit, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(zavrit);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gridPujcky_, 3);
    layout->addLayout(legend);
    layout->addLayout(figures);
    layout->addWidget(gridZpravy_, 2);
    layout->addWidget(mZprava_);
    layout->addLayout(buttons);
}

void TFZakHistorie::SetJmeno(const QString& jmeno) {
    setWindowTitle(QStringLiteral("Historie půjček: ") + jmeno);
}

int TFZakHistorie::Open(int key) {
    Load(key);
    return ExecModal(*this);
}

void TFZakHistorie::Load(int key) {
    TTransaction transaction(ctx_.Db().DB);
    LoadLoans(transaction, key);
    ShowFigures(ReadCustomerFigures(ctx_.Db(), transaction, key, ctx_.CurrentUser.Prava));
    LoadMessages(transaction, key);
    transaction.Commit();
}

void TFZakHistorie::LoadLoans(TTransaction& transaction, int key) {
    auto query = ctx_.Db().OpenQuery(transaction, CustomerLoansSql(key));
    query->Open();
    QList<QVariantList> rows;
    looks_.clear();
    const QDate today = QDate::currentDate();
    for (; !query->Eof(); query->Next()) {
        const auto field = [&](const char* name) -> const TField& {
            return query->FieldByName(QString::fromLatin1(name));
        };
        rows.append(
            {field("EAN_KOD").AsString(), field("NAZEV_CESKY").AsString(), FieldTime(field("D_PUJCENI")),
             Amount(field("CENA_PUJCKA")), FieldTime(field("D_VRACENI")), DateText(field("TERMIN_VRACENI")),
             DateText(field("TERMIN_PUVODNI")), FieldTime(field("D_PRIJMU")), Amount(field("CENA_NAKUP")),
             FieldTime(field("D_ZRUSENI")), field("DUVOD_ZRUSENI").AsString()});
        looks_.push_back(LoanRowLook(field("D_ZRUSENI").AsDateTime(), field("D_VRACENI").AsDateTime(),
                                     field("TERMIN_VRACENI").AsDate(), today));
    }
    pujcky_->setRows(rows);
}

void TFZakHistorie::LoadMessages(TTransaction& transaction, int key) {
    auto query = ctx_.Db().OpenQuery(transaction, HistoryMessagesSql(key));
    query->Open();
    QList<QVariantList> rows;
    texts_.clear();
    for (; !query->Eof(); query->Next()) {
        const auto text = [&](const char* name) {
            return query->FieldByName(QString::fromLatin1(name)).AsString();
        };
        rows.append({FieldTime(query->FieldByName(QStringLiteral("DATUM_ODS"))), text("EMAIL_ADR"),
                     text("EMAIL_SUBJ"), text("SMS_TEL"), text("SMS_MESSAGE"), text("UZIVATEL")});
        texts_.push_back(text("EMAIL_MESSAGE").left(kMessageLimit));
    }
    mZprava_->clear();
    zpravy_->setRows(rows);
    if (!zpravy_->isEmpty())
        mZprava_->setPlainText(texts_.front());
}

void TFZakHistorie::ShowFigures(const TCustomerFigures& figures) {
    ePujcenych_->setValue(figures.loans);
    eNevracenych_->setValue(figures.unreturned);
    ePozde_->setValue(figures.late);
    ePomer_->setValue(RoundTo(0.01, figures.lateRatio));
    eTrzba_->setValue(figures.takings);
}
