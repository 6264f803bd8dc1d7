#include "TitulRezervace.h"

#include "AppContext.h"
#include "DeskSurface.h"
#include "FailureGuard.h"
#include "GlobDialog.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxEdit.h"
#include "MoxGrid.h"
#include "MoxLabel.h"
#include "MoxNumEdit.h"
#include "ScannedCode.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QVBoxLayout>

namespace {

const QColor kNotChoosable(128, 128, 128);

TMoxNumEdit* Count(QWidget* parent, const char* name) {
    auto* field = new TMoxNumEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setReadOnly(true);
    return field;
}

TMoxButton* Button(const QString& caption, const char* name, QWidget* parent) {
    auto* button = new TMoxButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

bool IsEnter(QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TFTitulRezervace::TFTitulRezervace(TAppContext& context, QWidget* parent)
    : QDialog(parent), context_(context), transaction_(context.Db().DB), eKod_(new TMoxEdit(this)),
      eNazevHledej_(new TMoxEdit(this)), bHledej_(Button(QStringLiteral("Hledej"), "BHledej", this)),
      bPredchozi_(Button(QStringLiteral("Předchozí"), "BPredchozi", this)),
      bNasledujici_(Button(QStringLiteral("Následující"), "BNasledujici", this)),
      lFiltr_(new TMoxLabel(this)), lPozice_(new TMoxLabel(this)), eNazev_(new TMoxEdit(this)),
      eNazevOrig_(new TMoxEdit(this)), chDvd_(new TMoxCheckBox(QStringLiteral("DVD"), this)),
      chVhs_(new TMoxCheckBox(QStringLiteral("VHS"), this)), eCelkem_(Count(this, "ECelkem")),
      eStavem_(Count(this, "EStavem")), tableVolne_(new TMemTable(this)), gridVolne_(new TMoxGrid(this)),
      bPredchozich_(Button(QStringLiteral("Předchozích %1 dní").arg(kWindowDays), "BPredchozich", this)),
      bNasledujicich_(
          Button(QStringLiteral("Následujících %1 dní").arg(kWindowDays), "BNasledujicich", this)),
      bVybrat_(Button(QStringLiteral("Vybrat termín"), "BVybrat", this)), eTermin_(new TMoxEdit(this)),
      ePocetDni_(Count(this, "EPocetDni")),
      bRezervovat_(Button(QStringLiteral("&Rezervovat"), "BRezervovat", this)),
      bZrusit_(Button(QStringLiteral("&Zrušit rezervaci"), "BZrusit", this)),
      bZavrit_(Button(QStringLiteral("Zavřít"), "BZavrit", this)) {
    setObjectName(QStringLiteral("FTitulRezervace"));
    setWindowTitle(QStringLiteral("Rezervace titulu"));
    SetDeskSurface(this);

    eKod_->setObjectName(QStringLiteral("EKod"));
    eKod_->setMaxLength(32);
    eNazevHledej_->setObjectName(QStringLiteral("ENazevHledej"));
    eNazevHledej_->setMaxLength(240);
    for (TMoxEdit* search : {eKod_, eNazevHledej_})
        search->installEventFilter(this);
    lFiltr_->setObjectName(QStringLiteral("LFiltr"));
    // The filter repeats what the clerk typed; a label would read "<b>" in it as formatting.
    lFiltr_->setTextFormat(Qt::PlainText);
    lPozice_->setObjectName(QStringLiteral("LPozice"));
    eNazev_->setObjectName(QStringLiteral("ENazev"));
    eNazevOrig_->setObjectName(QStringLiteral("ENazevOrig"));
    for (TMoxEdit* field : {eNazev_, eNazevOrig_}) {
        field->setMaxLength(240);
        field->setReadOnly(true);
    }
    MakeMediumTypeChoices(chDvd_, chVhs_);
    for (TMoxCheckBox* choice : {chDvd_, chVhs_})
        choice->setReadOnly(true);

    tableVolne_->setColumns(
        {QStringLiteral("TERMIN_PUJCENI"), QStringLiteral("TERMIN_VRACENI"), QStringLiteral("POCET")});
    tableVolne_->setColumnTitle(QStringLiteral("TERMIN_PUJCENI"), QStringLiteral("Termín půjčení"));
    tableVolne_->setColumnTitle(QStringLiteral("TERMIN_VRACENI"), QStringLiteral("Termín vrácení"));
    tableVolne_->setColumnTitle(QStringLiteral("POCET"), QStringLiteral("Počet"));
    tableVolne_->setColumnDecimals(QStringLiteral("POCET"), 0);
    gridVolne_->setObjectName(QStringLiteral("GridVolne"));
    gridVolne_->setModel(tableVolne_);
    gridVolne_->setReadOnly(true);
    gridVolne_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridVolne_->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridVolne_->setSelectionMode(QAbstractItemView::SingleSelection);
    gridVolne_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    gridVolne_->installEventFilter(this);
    gridVolne_->setOnGetCellParams([this](TMoxCellParams& cell) {
        if (cell.highlighted || cell.row < 0 || cell.row >= static_cast<int>(days_.size()))
            return;
        if (!Choosable(days_[static_cast<std::size_t>(cell.row)], QDate::currentDate()))
            cell.fontColor = kNotChoosable;
    });

    eTermin_->setObjectName(QStringLiteral("ETermin"));
    eTermin_->setReadOnly(true);
    ePocetDni_->setReadOnly(false);
    ePocetDni_->setMinValue(1);
    ePocetDni_->setMaxValue(99);
    ePocetDni_->setMaxLength(2);
    ePocetDni_->setValue(1);
    bRezervovat_->setDefault(true);
    bRezervovat_->setEnabled(false);
    bZrusit_->setEnabled(false);

    BuildLayout();
    CloseNameSearch();
    for (QWidget* control :
         std::initializer_list<QWidget*>{eNazev_, eNazevOrig_, chDvd_, chVhs_, eCelkem_, eStavem_, gridVolne_,
                                         bPredchozich_, bNasledujicich_, bVybrat_, eTermin_, ePocetDni_})
        control->setEnabled(false);

    connect(bHledej_, &TMoxButton::clicked, this, [this] { Hledej(); });
    connect(bPredchozi_, &TMoxButton::clicked, this,
            [this] { InTransaction([this] { ShowNameRow(names_.current - 1); }); });
    connect(bNasledujici_, &TMoxButton::clicked, this,
            [this] { InTransaction([this] { ShowNameRow(names_.current + 1); }); });
    connect(bPredchozich_, &TMoxButton::clicked, this,
            [this] { InTransaction([this] { BuildWindow(windowStart_.addDays(-kWindowDays)); }); });
    connect(bNasledujicich_, &TMoxButton::clicked, this,
            [this] { InTransaction([this] { BuildWindow(windowStart_.addDays(kWindowDays)); }); });
    connect(bVybrat_, &TMoxButton::clicked, this, [this] { ChooseDay(); });
    connect(gridVolne_, &TMoxGrid::doubleClicked, this, [this] { ChooseDay(); });
    connect(tableVolne_, &TMemTable::currentRowChanged, this,
            [this] { bVybrat_->setEnabled(gridVolne_->isEnabled() && CurrentRowChoosable()); });
    connect(ePocetDni_, &TMoxNumEdit::textEdited, this, [this] {
        if (chosen_.isValid() && ePocetDni_->isEnabled())
            bRezervovat_->setEnabled(true);
    });
    // A second scan is another title to look at, never a number of days.
    RunOnScannedCode(ePocetDni_, [this](const QString& code) {
        if (!bHledej_->isEnabled()) {
            QApplication::beep(); // a change stays on its title
            return;
        }
        eKod_->setText(code);
        bHledej_->click();
    });
    connect(bRezervovat_, &TMoxButton::clicked, this, [this] { done(kRezervovat); });
    connect(bZrusit_, &TMoxButton::clicked, this, [this] { done(kZrusitRezervaci); });
    connect(bZavrit_, &TMoxButton::clicked, this, &TFTitulRezervace::reject);
    eKod_->setFocus();
}

TFTitulRezervace::~TFTitulRezervace() {
    if (transaction_.Active())
        RunReported([this] { transaction_.Commit(); });
}

void TFTitulRezervace::BuildLayout() {
    auto* search = new QGridLayout;
    search->addWidget(Caption(QStringLiteral("&EAN/CN kód:"), eKod_, this), 0, 0);
    search->addWidget(eKod_, 0, 1);
    search->addWidget(Caption(QStringLiteral("&Název:"), eNazevHledej_, this), 1, 0);
    search->addWidget(eNazevHledej_, 1, 1);
    search->addWidget(bHledej_, 0, 2);
    auto* walk = new QHBoxLayout;
    walk->addWidget(bPredchozi_);
    walk->addWidget(bNasledujici_);
    walk->addWidget(lPozice_);
    walk->addStretch();
    search->addLayout(walk, 2, 1, 1, 2);
    lFiltr_->setWordWrap(true);
    search->addWidget(lFiltr_, 3, 1, 1, 2);
    search->setColumnStretch(1, 1);

    auto* title = new QGridLayout;
    title->addWidget(Caption(QStringLiteral("Název:"), eNazev_, this), 0, 0);
    title->addWidget(eNazev_, 0, 1, 1, 4);
    title->addWidget(Caption(QStringLiteral("Originální název:"), eNazevOrig_, this), 1, 0);
    title->addWidget(eNazevOrig_, 1, 1, 1, 4);
    title->addWidget(new TMoxLabel(QStringLiteral("Typ nosiče:"), this), 2, 0);
    auto* typ = new QHBoxLayout;
    typ->addWidget(chDvd_);
    typ->addWidget(chVhs_);
    typ->addStretch();
    title->addLayout(typ, 2, 1);
    title->addWidget(Caption(QStringLiteral("Celkem kusů:"), eCelkem_, this), 3, 0);
    title->addWidget(eCelkem_, 3, 1);
    title->addWidget(Caption(QStringLiteral("Stavem nyní:"), eStavem_, this), 3, 2);
    title->addWidget(eStavem_, 3, 3);
    title->setColumnStretch(4, 1);

    auto* window = new QHBoxLayout;
    window->addWidget(bPredchozich_);
    window->addWidget(bNasledujicich_);
    window->addStretch();
    window->addWidget(bVybrat_);

    auto* choice = new QHBoxLayout;
    choice->addWidget(Caption(QStringLiteral("Termín půjčení:"), eTermin_, this));
    choice->addWidget(eTermin_);
    choice->addWidget(Caption(QStringLiteral("&Počet dní:"), ePocetDni_, this));
    choice->addWidget(ePocetDni_);
    choice->addStretch();
    const int digit = fontMetrics().horizontalAdvance(QStringLiteral("0"));
    eKod_->setMinimumWidth(digit * 20);
    eNazev_->setMinimumWidth(digit * 50);
    lPozice_->setMinimumWidth(digit * 10);
    eCelkem_->setMaximumWidth(digit * 8);
    eStavem_->setMaximumWidth(digit * 8);
    eTermin_->setMaximumWidth(digit * 12);
    ePocetDni_->setMaximumWidth(digit * 5);
    gridVolne_->setMinimumHeight(gridVolne_->verticalHeader()->defaultSectionSize() * (kWindowDays + 1) + 4);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bRezervovat_);
    buttons->addWidget(bZrusit_);
    buttons->addWidget(bZavrit_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(search);
    layout->addLayout(title);
    layout->addWidget(Caption(QStringLiteral("&Volné termíny rezervace:"), gridVolne_, this));
    layout->addWidget(gridVolne_, 1);
    layout->addLayout(window);
    layout->addLayout(choice);
    layout->addLayout(buttons);
}

void TFTitulRezervace::PresetChange(const QDate& first, int days) {
    chosen_ = first;
    eTermin_->setText(QLocale().toString(first, QLocale::ShortFormat));
    ePocetDni_->setValue(days);
    bZrusit_->setEnabled(true);
    eKod_->setReadOnly(true);
    eNazevHledej_->setReadOnly(true);
    bHledej_->setEnabled(false);
}

void TFTitulRezervace::SearchMedium(int kodNosic) {
    eKod_->setText(QString::number(kodNosic));
    Hledej();
}

void TFTitulRezervace::SearchTitle(int kodTitul) {
    int kodNosic = -1;
    bool read = false;
    InTransaction([&] {
        kodNosic = FirstMediumOfTitle(context_.Db(), transaction_, kodTitul);
        read = true;
    });
    if (read)
        SearchMedium(kodNosic);
}

void TFTitulRezervace::SetCustomer(int kodZak) {
    kodZak_ = kodZak;
    // The desk names the customer after the search: count the window again without the
    // customer's own reservations.
    if (hasTitle_)
        InTransaction([this] { BuildWindow(windowStart_); });
}

TReservationChoice TFTitulRezervace::Choice() const {
    TReservationChoice choice;
    choice.kodTitul = title_.kodTitul;
    choice.typNosice = chDvd_->isChecked()   ? QStringLiteral("D")
                       : chVhs_->isChecked() ? QStringLiteral("V")
                                             : title_.typNosice;
    choice.nazevCesky = title_.nazevCesky;
    choice.eanKod = title_.eanKod;
    choice.terminPujceni = chosen_;
    choice.terminVraceni = chosen_.addDays(ePocetDni_->valueInt());
    choice.pocetCelkem = title_.pocetCelkem;
    return choice;
}

void TFTitulRezervace::reject() {
    done(kZavrit);
}

bool TFTitulRezervace::eventFilter(QObject* watched, QEvent* event) {
    // A barcode reader ends every code with Enter: it searches, it must not reserve.
    if ((watched == eKod_ || watched == eNazevHledej_) && IsEnter(event)) {
        if (bHledej_->isEnabled())
            bHledej_->click();
        return true;
    }
    if (watched == gridVolne_ && IsEnter(event)) {
        ChooseDay();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFTitulRezervace::InTransaction(const std::function<void()>& work) {
    RunReported([&] {
        try {
            work();
            if (transaction_.Active())
                transaction_.Commit();
        } catch (...) {
            if (transaction_.Active())
                transaction_.Rollback();
            throw;
        }
    });
}

void TFTitulRezervace::Hledej() {
    CloseNameSearch();
    const QString typed = eKod_->text();
    if (!typed.isEmpty())
        InTransaction([&] { SearchByCode(typed); });
    const QString nameText = eNazevHledej_->text();
    if (!nameText.isEmpty())
        InTransaction([&] { SearchByName(nameText); });
}

void TFTitulRezervace::SearchByCode(const QString& typed) {
    const std::optional<TReservableTitle> found = FindTitleByCode(context_.Db(), transaction_, typed);
    if (!found) {
        Warn(TitleNotFoundText(typed));
        eKod_->selectAll();
        return;
    }
    ShowTitle(*found);
    eKod_->clear();
    eNazevHledej_->clear();
}

void TFTitulRezervace::SearchByName(const QString& nameText) {
    std::vector<TReservableTitle> rows = FindTitlesByName(context_.Db(), transaction_, nameText);
    bPredchozi_->setVisible(true);
    bNasledujici_->setVisible(true);
    if (rows.empty()) {
        lFiltr_->setText(NameNotFoundText());
        lPozice_->setText(NamePositionText(0, 0));
        return;
    }
    lFiltr_->setText(NameFilterText(nameText));
    names_.rows = std::move(rows);
    ShowNameRow(0);
    eKod_->clear();
    eNazevHledej_->clear();
}

void TFTitulRezervace::CloseNameSearch() {
    names_ = {};
    bPredchozi_->setVisible(false);
    bNasledujici_->setVisible(false);
    bPredchozi_->setEnabled(false);
    bNasledujici_->setEnabled(false);
    lFiltr_->clear();
    lPozice_->clear();
}

void TFTitulRezervace::ShowNameRow(int row) {
    const int count = static_cast<int>(names_.rows.size());
    if (row < 0 || row >= count)
        return;
    ShowTitle(names_.rows[static_cast<std::size_t>(row)]);
    names_.current = row;
    lPozice_->setText(NamePositionText(row + 1, count));
    bPredchozi_->setEnabled(row > 0);
    bNasledujici_->setEnabled(row < count - 1);
}

void TFTitulRezervace::ShowTitle(const TReservableTitle& title) {
    const QDate today = QDate::currentDate();
    const std::vector<TFreeDay> days =
        FreeDays(context_.Db(), transaction_, title.kodTitul, kodZak_, title.pocetCelkem, today);
    title_ = title;
    hasTitle_ = true;
    eNazev_->setText(title.nazevCesky);
    eNazevOrig_->setText(title.nazevOrig);
    chDvd_->setChecked(title.typNosice == QStringLiteral("D"));
    chVhs_->setChecked(title.typNosice == QStringLiteral("V"));
    eCelkem_->setValue(title.pocetCelkem);
    eStavem_->setValue(title.pocetPritomno);
    for (QWidget* control :
         std::initializer_list<QWidget*>{eNazev_, eNazevOrig_, chDvd_, chVhs_, eCelkem_, eStavem_, gridVolne_,
                                         bPredchozich_, bNasledujicich_, eTermin_, ePocetDni_})
        control->setEnabled(true);
    windowStart_ = today;
    ShowWindow(days);
}

void TFTitulRezervace::BuildWindow(const QDate& start) {
    const std::vector<TFreeDay> days =
        FreeDays(context_.Db(), transaction_, title_.kodTitul, kodZak_, title_.pocetCelkem, start);
    windowStart_ = start;
    ShowWindow(days);
}

void TFTitulRezervace::ShowWindow(const std::vector<TFreeDay>& days) {
    days_ = days;
    tableVolne_->clear();
    bRezervovat_->setEnabled(false);
    if (gridVolne_->isEnabled())
        gridVolne_->setFocus();
    QList<QVariantList> rows;
    for (const TFreeDay& day : days_)
        rows.push_back({day.day, day.day.addDays(1), day.pocet});
    tableVolne_->setRows(rows);
    if (!Changing()) {
        const int first = FirstChoosable(days_, QDate::currentDate());
        if (first >= 0)
            ChooseRow(first);
    }
    if (!tableVolne_->isEmpty())
        tableVolne_->setCurrentRow(0);
    bVybrat_->setEnabled(gridVolne_->isEnabled() && CurrentRowChoosable());
    gridVolne_->viewport()->update();
}

void TFTitulRezervace::ChooseDay() {
    if (!CurrentRowChoosable())
        return;
    InTransaction([this] { ChooseRow(tableVolne_->currentRow()); });
}

void TFTitulRezervace::ChooseRow(int row) {
    const QDate first = days_[static_cast<std::size_t>(row)].day;
    const int length =
        DefaultReservationLength(context_.SpecCena(), first, title_.pocetCelkem, [this](const QDate& day) {
            return ReservationsStartingByOthers(context_.Db(), transaction_, title_.kodTitul, kodZak_, day);
        });
    chosen_ = first;
    eTermin_->setText(QLocale().toString(first, QLocale::ShortFormat));
    bRezervovat_->setEnabled(true);
    // The field keeps what is being typed into it; a chosen day always sets its length.
    if (ePocetDni_->hasFocus())
        gridVolne_->setFocus();
    ePocetDni_->setValue(length);
    if (ePocetDni_->isEnabled())
        ePocetDni_->setFocus();
}

bool TFTitulRezervace::CurrentRowChoosable() const {
    const int row = tableVolne_->currentRow();
    return row >= 0 && row < static_cast<int>(days_.size()) &&
           Choosable(days_[static_cast<std::size_t>(row)], QDate::currentDate());
}

bool TFTitulRezervace::Changing() const {
    return bZrusit_->isEnabled();
}
