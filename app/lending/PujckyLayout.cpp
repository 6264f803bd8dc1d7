// The counter's form: its controls, their layout and their connections.
#include "Pujcky.h"

#include "AppContext.h"
#include "DeskSurface.h"
#include "FailureGuard.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxEdit.h"
#include "MoxGrid.h"
#include "MoxLabel.h"
#include "MoxMemo.h"
#include "MoxNumEdit.h"
#include "PictureFrame.h"
#include "PujckyLook.h"
#include "ScannedCode.h"
#include "SearchBrowse.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

TMoxNumEdit* Figure(QWidget* parent, const char* name, int decimals) {
    auto* field = Named(new TMoxNumEdit(parent), name);
    field->setDecimal(decimals);
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignRight);
    return field;
}

} // namespace

void TFPujcky::Guarded(void (TFPujcky::*action)()) {
    RunReported([this, action] { (this->*action)(); });
}

void TFPujcky::BuildForm() {
    SetDeskSurface(this);

    auto* search = new QHBoxLayout;
    const auto searchField = [&](const QString& caption, const char* name, int length) {
        auto* edit = Named(new TMoxEdit(this), name);
        edit->setMaxLength(length);
        auto* label = new TMoxLabel(caption, this);
        label->setBuddy(edit);
        search->addWidget(label);
        search->addWidget(edit);
        return edit;
    };
    EHledejEAN = searchField(QStringLiteral("&EAN kód zákazníka:"), "EHledejEAN", 16);
    EHledejPrijmeni = searchField(QStringLiteral("P&říjmení:"), "EHledejPrijmeni", 32);
    BHledej = Named(new TMoxButton(QStringLiteral("Hledej"), this), "BHledej");
    BPredchozi = Named(new TMoxButton(QStringLiteral("Předchozí"), this), "BPredchozi");
    BNasledujici = Named(new TMoxButton(QStringLiteral("Následující"), this), "BNasledujici");
    LPocet = Named(new TMoxLabel(this), "LPocet");
    LFiltr = Named(new TMoxLabel(this), "LFiltr");
    search->addWidget(BHledej);
    search->addSpacing(12);
    search->addWidget(BPredchozi);
    search->addWidget(BNasledujici);
    search->addWidget(LPocet);
    search->addWidget(LFiltr, 1);
    // The overdue list concerns every customer, so it is open whoever is shown.
    BPoTerminu = Named(new TMoxButton(QStringLiteral("Po &termínu"), this), "BPoTerminu");
    search->addWidget(BPoTerminu);

    QWidget* panel = BuildCustomerPanel();
    QWidget* buttons = BuildButtons();

    BuildGrids();
    const auto gridBlock = [&](const QString& caption, TMoxGrid* grid,
                               const std::vector<TMoxLabel*>& legend) {
        auto* head = new QHBoxLayout;
        auto* label = new TMoxLabel(caption, this);
        label->setBuddy(grid);
        head->addWidget(label);
        head->addStretch();
        for (TMoxLabel* item : legend)
            head->addWidget(item);
        auto* block = new QVBoxLayout;
        block->addLayout(head);
        block->addWidget(grid, 1);
        return block;
    };
    using namespace PujckyLook;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(search);
    layout->addWidget(panel);
    layout->addWidget(buttons);
    layout->addLayout(gridBlock(QStringLiteral("Aktuální zapů&jčení:"), GridPujcky,
                                {Legend(QStringLiteral("Půjčený nosič,"), Qt::black, this),
                                 Legend(QStringLiteral("- vrací se,"), kGrey, this),
                                 Legend(QStringLiteral("- dnes vrátit,"), kOrange, this),
                                 Legend(QStringLiteral("- již měl být vrácen."), kRed, this)}),
                      3);
    layout->addLayout(gridBlock(QStringLiteral("Rezervovan&é tituly:"), GridRezerv,
                                {Legend(QStringLiteral("Rezervace,"), Qt::black, this),
                                 Legend(QStringLiteral("- půjčuje se,"), kGrey, this),
                                 Legend(QStringLiteral("- již vypršela,"), kBlue, this),
                                 Legend(QStringLiteral("- na dnešní den."), kGreen, this)}),
                      2);

    search_ = new TSearchBrowse(
        {EHledejEAN, EHledejPrijmeni, BHledej, BPredchozi, BNasledujici, LFiltr, LPocet, true, false},
        {[this] { return CanLeave(); }, [this](const QString& code) { return FindCode(code); },
         [this](const QString& surname) { return FindSurname(surname); },
         [this](int key) { LoadCustomer(key); },
         [](const std::function<void()>& action) { RunReported(action); }},
        this);
    connect(BDetail, &TMoxButton::clicked, this, [this] { Guarded(&TFPujcky::Detail); });
    connect(BStatistika, &TMoxButton::clicked, this, [this] { Guarded(&TFPujcky::Statistika); });
    connect(BZalohy, &TMoxButton::clicked, this, [this] { Guarded(&TFPujcky::Zalohy); });
    connect(BPujcit, &TMoxButton::clicked, this, [this] { Guarded(&TFPujcky::Pujcit); });
    RunOnScannedCode(BPujcit, [this](const QString& code) { RunReported([&] { ScannedAtCounter(code); }); });
    connect(BVratit, &TMoxButton::clicked, this, [this] { Guarded(&TFPujcky::Vratit); });
    connect(BReklamace, &TMoxButton::clicked, this, [this] { Guarded(&TFPujcky::Reklamace); });
    connect(BRezervace, &TMoxButton::clicked, this, [this] { Guarded(&TFPujcky::Rezervace); });
    connect(BZmenaRezervace, &TMoxButton::clicked, this, [this] { Guarded(&TFPujcky::ZmenaRezervace); });
    connect(BZpet, &TMoxButton::clicked, this, [this] { Guarded(&TFPujcky::Zpet); });
    connect(BProdlouzit, &TMoxButton::clicked, this, [this] { Guarded(&TFPujcky::Prodlouzit); });
    connect(BZaplatit, &TMoxButton::clicked, this, [this] { Guarded(&TFPujcky::ZaplatitClicked); });
    connect(BPoTerminu, &TMoxButton::clicked, this, [this] { Guarded(&TFPujcky::PoTerminu); });
    connect(ImageFoto, &TPictureFrame::doubleClicked, this, [this] { Guarded(&TFPujcky::NahledFoto); });
    connect(tablePujcky_, &TMemTable::currentRowChanged, this, [this] { UpdateButtons(); });
}

QWidget* TFPujcky::BuildCustomerPanel() {
    auto* panel = new QWidget(this);
    auto* fields = new QGridLayout;
    int row = 0;
    const auto place = [&](const QString& caption, QWidget* field, int column = 0) {
        auto* label = new TMoxLabel(caption, panel);
        label->setBuddy(field);
        fields->addWidget(label, row, column);
        fields->addWidget(field, row, column + 1);
        panel_.push_back(label);
        panel_.push_back(field);
    };
    const auto text = [&](const char* name, int length) {
        auto* edit = Named(new TMoxEdit(panel), name);
        edit->setMaxLength(length);
        edit->setReadOnly(true);
        return edit;
    };
    EJmeno = text("EJmeno", 32);
    EAdresa = text("EAdresa", 48);
    EDRegistrace = text("EDRegistrace", 20);
    MPoznamky = Named(new TMoxMemo(panel), "MPoznamky");
    MPoznamky->setReadOnly(true);
    MPoznamky->setMaximumHeight(60);
    place(QStringLiteral("Jméno a příjmení:"), EJmeno);
    ++row;
    place(QStringLiteral("Adresa:"), EAdresa);
    ++row;
    place(QStringLiteral("Datum registrace:"), EDRegistrace);
    ++row;
    place(QStringLiteral("Poznámky:"), MPoznamky);
    fields->setColumnStretch(1, 1);

    const QString mena = ctx_.SpecCena().GetMena();
    auto* figures = new QGridLayout;
    EZaloha = Figure(panel, "EZaloha", 2);
    ECenaCelkem = Figure(panel, "ECenaCelkem", 2);
    EPujceno = Figure(panel, "EPujceno", 0);
    ECelkemPujceno = Figure(panel, "ECelkemPujceno", 0);
    LZalohaZnak = Named(new TMoxLabel(QStringLiteral("!"), panel), "LZalohaZnak");
    LZalohaZnak->setFramed(true);
    const auto figure = [&](int r, const QString& caption, TMoxNumEdit* field, bool money) {
        auto* label = new TMoxLabel(caption, panel);
        label->setBuddy(field);
        figures->addWidget(label, r, 0);
        figures->addWidget(field, r, 2);
        panel_.push_back(label);
        panel_.push_back(field);
        if (money) {
            auto* currency = new TMoxLabel(mena, panel);
            figures->addWidget(currency, r, 3);
            panel_.push_back(currency);
        }
    };
    figure(0, QStringLiteral("Přijatá záloha:"), EZaloha, true);
    figures->addWidget(LZalohaZnak, 0, 1);
    figure(1, QStringLiteral("Právě půjčených kusů:"), EPujceno, false);
    figure(2, QStringLiteral("Celkem půjčených kusů:"), ECelkemPujceno, false);
    figure(3, QStringLiteral("Cena celkem:"), ECenaCelkem, true);
    QFont bold = ECenaCelkem->font();
    bold.setBold(true);
    ECenaCelkem->setFont(bold);

    ImageFoto = Named(new TPictureFrame(panel), "ImageFoto");
    ImageFoto->setMinimumSize(90, 110);
    ImageFoto->setMaximumSize(120, 150);
    auto* fotoCaption = new TMoxLabel(QStringLiteral("Fotografie:"), panel);
    panel_.push_back(fotoCaption);
    panel_.push_back(ImageFoto);
    LVip = Named(new TMoxLabel(QStringLiteral("VIP"), panel), "LVip");
    QFont big = LVip->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    LVip->setFont(big);
    QPalette green = LVip->palette();
    green.setColor(QPalette::WindowText, Qt::darkGreen);
    LVip->setPalette(green);
    LVyrazen = Named(new TMoxLabel(QStringLiteral("Vyřazen z evidence"), panel), "LVyrazen");
    QFont slanted = LVyrazen->font();
    slanted.setItalic(true);
    slanted.setBold(true);
    LVyrazen->setFont(slanted);
    QPalette red = LVyrazen->palette();
    red.setColor(QPalette::WindowText, PujckyLook::kRed);
    LVyrazen->setPalette(red);

    auto* foto = new QVBoxLayout;
    foto->addWidget(fotoCaption);
    foto->addWidget(ImageFoto, 1);
    auto* marks = new QVBoxLayout;
    marks->addLayout(figures);
    marks->addWidget(LVip, 0, Qt::AlignRight);
    marks->addWidget(LVyrazen, 0, Qt::AlignRight);
    marks->addStretch();
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(fields, 1);
    layout->addLayout(foto);
    layout->addLayout(marks);
    return panel;
}

QWidget* TFPujcky::BuildButtons() {
    auto* box = new QWidget(this);
    auto* layout = new QGridLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto button = [&](const QString& caption, const char* name, int r, int c) {
        auto* b = Named(new TMoxButton(caption, box), name);
        layout->addWidget(b, r, c);
        return b;
    };
    BDetail = button(QStringLiteral("Detai&l zákazníka"), "BDetail", 0, 0);
    BStatistika = button(QStringLiteral("St&at. zákazníka"), "BStatistika", 0, 1);
    BZalohy = button(QStringLiteral("Zálo&hy"), "BZalohy", 0, 2);
    BRezervace = button(QStringLiteral("Rezer&vace"), "BRezervace", 0, 3);
    BZmenaRezervace = button(QStringLiteral("Změna rezervace"), "BZmenaRezervace", 0, 4);
    BProdlouzit = button(QStringLiteral("Prodlou&žit"), "BProdlouzit", 0, 5);
    BPujcit = button(QStringLiteral("Půjčit n&osič"), "BPujcit", 1, 0);
    BVratit = button(QStringLiteral("Vrátit no&sič"), "BVratit", 1, 1);
    BReklamace = button(QStringLiteral("Rekla&mace"), "BReklamace", 1, 2);
    BZpet = button(QStringLiteral("Zp&ět (neprodlužovat)"), "BZpet", 1, 3);
    BZaplatit = button(QStringLiteral("Zaplatit / &Rezervovat / Vrátit"), "BZaplatit", 1, 4);
    QFont bold = BZaplatit->font();
    bold.setBold(true);
    BZaplatit->setFont(bold);
    // The long captions keep two characters' room inside the face on either side ("Zpět" changes
    // its caption with the row, so its column keeps room for the longest one); the short ones
    // give way for it in a small window.
    for (TMoxButton* b : {BDetail, BStatistika, BZalohy, BRezervace, BZmenaRezervace, BPujcit, BVratit,
                          BReklamace, BZpet, BZaplatit})
        LetNarrowToCaption(b);
    for (TMoxButton* b : {BZpet, BZaplatit})
        b->setMinimumWidth(b->minimumSizeHint().width() + 4 * b->fontMetrics().averageCharWidth());
    // A wider window leaves the buttons at their size, the room on the right.
    layout->setColumnStretch(5, 1);
    for (QWidget* w : std::initializer_list<QWidget*>{BDetail, BStatistika, BZalohy, BPujcit, BRezervace})
        panel_.push_back(w);
    return box;
}

void TFPujcky::BuildGrids() {
    using namespace PujckyLook;
    tablePujcky_->setColumns(CartColumns());
    const QStringList cartTitles = CartTitles();
    for (int i = 0; i < cartTitles.size(); ++i)
        if (!cartTitles[i].isEmpty())
            tablePujcky_->setColumnTitle(CartColumns()[i], cartTitles[i]);
    tablePujcky_->setColumnDecimals(QStringLiteral("CENA_PUJCKA"), 2);
    tablePujcky_->setColumnAlignment(QStringLiteral("TYP_NOSICE"), Qt::AlignCenter);
    tableRezerv_->setColumns(ReservationColumns());
    const QStringList reservationTitles = ReservationTitles();
    for (int i = 0; i < reservationTitles.size(); ++i)
        if (!reservationTitles[i].isEmpty())
            tableRezerv_->setColumnTitle(ReservationColumns()[i], reservationTitles[i]);
    tableRezerv_->setColumnAlignment(QStringLiteral("TYP_NOSICE"), Qt::AlignCenter);

    GridPujcky = Named(new TMoxGrid(this), "GridPujcky");
    GridRezerv = Named(new TMoxGrid(this), "GridRezerv");
    for (TMoxGrid* grid : {GridPujcky, GridRezerv}) {
        grid->setReadOnly(true);
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    }
    GridPujcky->setModel(tablePujcky_);
    GridRezerv->setModel(tableRezerv_);
    const QStringList hidden{QStringLiteral("KOD_TITUL"), QStringLiteral("KOD_NOSIC"),
                             QStringLiteral("POCET_DNI"), QStringLiteral("PUJCENO")};
    for (TMoxGrid* grid : {GridPujcky, GridRezerv})
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            grid->setColumnHidden(c, hidden.contains(grid->fieldName(c)));
    GridPujcky->setOnGetCellParams([this](TMoxCellParams& cell) {
        if (cell.highlighted || cell.row < 0 || cell.row >= static_cast<int>(visit_.Cart().size()))
            return;
        cell.fontColor = LoanColour(visit_.LoanState(cell.row, QDate::currentDate()));
    });
    GridRezerv->setOnGetCellParams([this](TMoxCellParams& cell) {
        if (cell.highlighted || cell.row < 0 || cell.row >= static_cast<int>(visit_.Reservations().size()))
            return;
        const QColor colour = ReservationColour(visit_.ReservationState(cell.row, QDate::currentDate()));
        if (colour.isValid())
            cell.fontColor = colour;
    });
}
