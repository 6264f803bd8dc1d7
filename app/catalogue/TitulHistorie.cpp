#include "TitulHistorie.h"

#include "AppContext.h"
#include "DeskSurface.h"
#include "GlobDialog.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxGrid.h"
#include "MoxLabel.h"
#include "TitulyData.h"
#include "Transaction.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

struct TColumn {
    const char* field;
    const char* title;
    int decimals; // -1 for text; right-aligned otherwise
};

TMemTable* Table(std::initializer_list<TColumn> columns, QObject* parent) {
    QStringList names;
    for (const TColumn& c : columns)
        names.append(QString::fromLatin1(c.field));
    auto* table = new TMemTable(names, parent);
    for (const TColumn& c : columns) {
        const QString name = QString::fromLatin1(c.field);
        table->setColumnTitle(name, QString::fromUtf8(c.title));
        table->setColumnReadOnly(name, true);
        if (c.decimals >= 0)
            table->setColumnDecimals(name, c.decimals);
    }
    return table;
}

TMoxGrid* Grid(TMemTable* table, const char* name, QWidget* parent) {
    auto* grid = Named(new TMoxGrid(parent), name);
    grid->setModel(table);
    grid->setReadOnly(true);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return grid;
}

void Fill(TMemTable& table, TQuery& query) {
    QList<QVariantList> rows;
    for (query.Open(); !query.Eof(); query.Next()) {
        QVariantList row;
        for (const QString& column : table.columns()) {
            const TField& field = query.FieldByName(column);
            row.append(field.IsNull() ? QVariant() : field.Value());
        }
        rows.append(row);
    }
    table.setRows(rows);
}

} // namespace

TMoxLabel* NewRetiredLegend(QWidget* parent) {
    auto* legend = new TMoxLabel(QStringLiteral("Nosič vyřazen."), parent);
    legend->setObjectName(QStringLiteral("LLegenda"));
    legend->setFramed(true);
    legend->setFrameColor(Qt::black);
    legend->setAutoFillBackground(true);
    QPalette colours = legend->palette();
    colours.setColor(QPalette::Window, Qt::white);
    colours.setColor(QPalette::WindowText, Qt::red);
    legend->setPalette(colours);

    return legend;
}

TFTitulHistorie::TFTitulHistorie(TAppContext& context, QWidget* parent)
    : QDialog(parent), context_(context), nosice_(Table({{"EAN_KOD", "CN kód", -1},
                                                         {"D_PRIJMU", "Datum příjmu", -1},
                                                         {"CENA_NAKUP", "Nákupní cena", 2},
                                                         {"POCET_PUJCENI", "Počet půjček", 0},
                                                         {"CENA_PUJCENI", "Cena za půjčení", 2},
                                                         {"D_ZRUSENI", "Datum vyřazení", -1},
                                                         {"DUVOD_ZRUSENI", "Důvod vyřazení", -1}},
                                                        this)),
      pujcky_(Table({{"KOD_NOSIC", "Kód nosiče", 0},
                     {"D_PUJCENI", "Datum půjčení", -1},
                     {"CENA_PUJCKA", "Cena půjčky", 2},
                     {"D_VRACENI", "Datum vrácení", -1},
                     {"INFO_VRACENI", "Informace o vrácení nosiče", -1},
                     {"ZAKAZNIK", "Zákazník", -1},
                     {"EAN_KOD", "EAN kód zák.", -1}},
                    this)),
      gridNosic_(Grid(nosice_, "GridNosic", this)), gridPujcky_(Grid(pujcky_, "GridPujcky", this)) {
    nosice_->setColumnAlignment(QStringLiteral("D_PRIJMU"), Qt::AlignRight);
    pujcky_->setColumnAlignment(QStringLiteral("D_PUJCENI"), Qt::AlignRight);
    pujcky_->setColumnAlignment(QStringLiteral("D_VRACENI"), Qt::AlignRight);
    setObjectName(QStringLiteral("FTitulHistorie"));
    setWindowTitle(QStringLiteral("Historie titulu: "));
    resize(724, 685);
    SetDeskSurface(this);

    gridNosic_->setOnGetCellParams([this](TMoxCellParams& cell) {
        if (!cell.highlighted && !nosice_->value(cell.row, QStringLiteral("D_ZRUSENI")).isNull())
            cell.fontColor = Qt::red;
    });
    auto* legend = NewRetiredLegend(this);

    auto* zavrit = new TMoxButton(QStringLiteral("Zavřít"), this);
    zavrit->setObjectName(QStringLiteral("BZavrit"));
    connect(zavrit, &TMoxButton::clicked, this, &QDialog::reject);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(legend);
    bottom->addStretch();
    bottom->addWidget(zavrit);
    auto* column = new QVBoxLayout(this);
    column->addWidget(gridNosic_, 1);
    column->addWidget(gridPujcky_, 2);
    column->addLayout(bottom);
}

void TFTitulHistorie::SetName(const QString& name) {
    setWindowTitle(QStringLiteral("Historie titulu: ") + name);
}

void TFTitulHistorie::Load(int kodTitul) {
    TDMGlobDB& db = context_.Db();
    TTransaction transaction(db.DB);
    auto media = db.OpenQuery(transaction, HistoryMediaSql(kodTitul));
    Fill(*nosice_, *media);
    media.reset();
    auto loans = db.OpenQuery(transaction, TitleLoansSql(kodTitul));
    Fill(*pujcky_, *loans);
    loans.reset();
    transaction.Commit();
}

void TFTitulHistorie::ShowHistory(int kodTitul) {
    Load(kodTitul);
    ExecModal(*this);
}
