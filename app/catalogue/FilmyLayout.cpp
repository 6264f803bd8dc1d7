#include "Filmy.h"

#include "AppContext.h"
#include "DeskSurface.h"
#include "FailureGuard.h"
#include "FilmyObrazek.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxCheckListBox.h"
#include "MoxComboBox.h"
#include "MoxEdit.h"
#include "MoxGrid.h"
#include "MoxLabel.h"
#include "MoxMemo.h"
#include "MoxNumEdit.h"
#include "MoxPanel.h"
#include "PictureFrame.h"
#include "SearchBrowse.h"
#include "TarnPageControl.h"
#include "TitulHistorie.h"
#include "Transaction.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

TMoxEdit* Edit(QWidget* parent, const char* name, int maxLength) {
    auto* edit = Named(new TMoxEdit(parent), name);
    edit->setMaxLength(maxLength);
    return edit;
}

TMoxNumEdit* Number(QWidget* parent, const char* name, int decimals, double min, double max) {
    auto* edit = Named(new TMoxNumEdit(parent), name);
    edit->setDecimal(decimals);
    edit->setMinValue(min);
    edit->setMaxValue(max);
    return edit;
}

} // namespace

TFFilmy::TFFilmy(TAppContext& context, QWidget* parent)
    : TDesk(parent), context_(context), tr_(std::make_unique<TTransaction>(context.Db().DB)),
      tableNosice_(new TMemTable(
          {QStringLiteral("EAN_KOD"), QStringLiteral("CENA_NAKUP"), QStringLiteral("D_PRIJMU"),
           QStringLiteral("UZIV_PRIJAL"), QStringLiteral("D_ZRUSENI"), QStringLiteral("UZIV_ZRUSIL"),
           QStringLiteral("DUVOD_ZRUSENI"), QStringLiteral("KOD_NOSIC"), QStringLiteral("SAVED_NOSIC"),
           QStringLiteral("ZRUSEN_PRI_NACTENI"), QStringLiteral("DUVOD_PRI_NACTENI"),
           QStringLiteral("PUJCEN_PRI_VYRAZENI"), QStringLiteral("CENA_PRI_NACTENI")},
          this)),
      tableObr_(new TMemTable(
          {QStringLiteral("KOD_OBR"), QStringLiteral("SOUBOR"), QStringLiteral("STAV_OBR")}, this)) {
    setObjectName(QStringLiteral("FFilmy"));
    SetDeskSurface(this);

    const std::pair<const char*, const char*> titles[] = {{"EAN_KOD", "CN kód"},
                                                          {"CENA_NAKUP", "Nákupní cena"},
                                                          {"D_PRIJMU", "Datum přijmu"},
                                                          {"UZIV_PRIJAL", "Přijal"},
                                                          {"D_ZRUSENI", "Datum vyřazení"},
                                                          {"UZIV_ZRUSIL", "Vyřadil"},
                                                          {"DUVOD_ZRUSENI", "Důvod vyřazení"}};
    for (const auto& [column, title] : titles) {
        tableNosice_->setColumnTitle(QString::fromLatin1(column), QString::fromUtf8(title));
        tableNosice_->setColumnReadOnly(QString::fromLatin1(column), true);
    }
    tableNosice_->setColumnReadOnly(QStringLiteral("CENA_NAKUP"), false);
    tableNosice_->setColumnReadOnly(QStringLiteral("DUVOD_ZRUSENI"), false);
    tableNosice_->setColumnDecimals(QStringLiteral("CENA_NAKUP"), 2);
    tableNosice_->setColumnMaxLength(QStringLiteral("DUVOD_ZRUSENI"), 1024);

    auto* column = new QVBoxLayout(this);
    column->addWidget(BuildSearchRow());
    pages_ = Named(new TTarnPageControl(this), "PageControl");
    pages_->addTab(BuildTitulPage(), QStringLiteral("Titul"));
    pages_->addTab(BuildPopisPage(), QStringLiteral("Popis filmu"));
    pages_->addTab(BuildObrazkyPage(), QStringLiteral("Obrázky"));
    column->addWidget(pages_, 1);

    ConnectChanges();
    SetMode(TMode::Empty);
}

TFFilmy::~TFFilmy() = default;

QWidget* TFFilmy::BuildSearchRow() {
    auto* panel = Named(new TMoxPanel(this), "PHledej");
    auto* row = new QGridLayout(panel);
    eHledejEAN_ = Edit(panel, "EHledejEAN", 32);
    eHledejNazev_ = Edit(panel, "EHledejNazev", 240);
    bHledej_ = Named(new TMoxButton(QStringLiteral("Hledej"), panel), "BHledej");
    bPredchozi_ = Named(new TMoxButton(QStringLiteral("Předchozí"), panel), "BPredchozi");
    bNasledujici_ = Named(new TMoxButton(QStringLiteral("Následující"), panel), "BNasledujici");
    lFiltr_ = Named(new QLabel(panel), "LFiltr");
    QFont bold = lFiltr_->font();
    bold.setBold(true);
    lFiltr_->setFont(bold);
    QPalette blue = lFiltr_->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    lFiltr_->setPalette(blue);
    lPozice_ = Named(new QLabel(panel), "LPozice");
    bNovyTitul_ = Named(new TMoxButton(QStringLiteral("Nový titul"), panel), "BNovyTitul");
    bZmenitTitul_ = Named(new TMoxButton(QStringLiteral("Změnit titul"), panel), "BZmenitTitul");
    bUlozit_ = Named(new TMoxButton(QStringLiteral("Uložit změny"), panel), "BUlozit");
    bStatistika_ = Named(new TMoxButton(QStringLiteral("Statistika"), panel), "BStatistika");

    row->addWidget(Caption(QStringLiteral("&EAN/CN kód:"), eHledejEAN_, panel), 0, 0);
    row->addWidget(eHledejEAN_, 0, 1);
    row->addWidget(Caption(QStringLiteral("Název:"), eHledejNazev_, panel), 0, 2);
    row->addWidget(eHledejNazev_, 0, 3);
    row->addWidget(bHledej_, 0, 4);
    // Browsing the titles found sits under the search, so that the row keeps its width when it
    // appears.
    auto* browse = new QHBoxLayout;
    browse->addStretch();
    browse->addWidget(lPozice_);
    browse->addWidget(bPredchozi_);
    browse->addWidget(bNasledujici_);
    row->addWidget(lFiltr_, 1, 0, 1, 3);
    row->addLayout(browse, 1, 3, 1, 2);
    row->setColumnStretch(3, 1);
    row->setColumnMinimumWidth(5, 16);
    row->addWidget(bNovyTitul_, 0, 6);
    row->addWidget(bZmenitTitul_, 0, 7);
    row->addWidget(bUlozit_, 1, 6);
    row->addWidget(bStatistika_, 1, 7);
    FitFieldTo(eHledejEAN_, QStringLiteral("0000000000000000"));
    FitFieldTo(eHledejNazev_, QStringLiteral("Vesničko má středisková"));
    for (TMoxButton* button :
         {bHledej_, bPredchozi_, bNasledujici_, bNovyTitul_, bZmenitTitul_, bUlozit_, bStatistika_})
        LetNarrowToCaption(button);
    search_ = new TSearchBrowse(
        {eHledejEAN_, eHledejNazev_, bHledej_, bPredchozi_, bNasledujici_, lFiltr_, lPozice_, true},
        {[this] { return CanLeave(); }, [this](const QString& code) { return FindCode(code); },
         [this](const QString& name) { return FindName(name); }, [this](int key) { OpenRecord(key); },
         [this](const std::function<void()>& action) { Guard(action); }},
        this);
    connect(bNovyTitul_, &TMoxButton::clicked, this, Guarded([this] { NovyTitul(); }));
    connect(bZmenitTitul_, &TMoxButton::clicked, this, &TFFilmy::ZmenitTitul);
    connect(bUlozit_, &TMoxButton::clicked, this, Guarded([this] { Save(); }));
    connect(bStatistika_, &TMoxButton::clicked, this, Guarded([this] { Statistika(); }));
    return panel;
}

QWidget* TFFilmy::BuildTitulPage() {
    auto* page = new QWidget(this);
    auto* fields = new QGridLayout;
    eNazevCesky_ = Edit(page, "ENazevCesky", 240);
    eNazevOrig_ = Edit(page, "ENazevOrig", 240);
    eEANKod_ = Edit(page, "EEANKod", 32);
    chTypDVD_ = new TMoxCheckBox(QStringLiteral("D&VD"), page);
    chTypVHS_ = new TMoxCheckBox(QStringLiteral("V&HS"), page);
    MakeMediumTypeChoices(chTypDVD_, chTypVHS_);
    cbZanr_ = Named(new TMoxComboBox(page), "CBZanr");
    ePocetCelkem_ = Number(page, "EPocetCelkem", 0, 0, 0);
    ePocetPritomno_ = Number(page, "EPocetPritomno", 0, 0, 0);
    eCenaPujcka_ = Number(page, "ECenaPujcka", 2, 0, 0);
    eCenaNakupCelkem_ = Number(page, "ECenaNakupCelkem", 2, 0, 0);
    lMenaPujcka_ = Named(new QLabel(page), "LMenaPujcka");
    lMenaNakup_ = Named(new QLabel(page), "LMenaNakup");
    eDZmeny_ = Edit(page, "EDZmeny", 20);
    eUzivZmena_ = Edit(page, "EUzivZmena", 64);
    mPoznamky_ = Named(new TMoxMemo(page), "MPoznamky");
    for (QWidget* fixed : std::initializer_list<QWidget*>{ePocetCelkem_, ePocetPritomno_, eCenaNakupCelkem_,
                                                          eDZmeny_, eUzivZmena_})
        static_cast<QLineEdit*>(fixed)->setReadOnly(true);

    auto* typ = new QHBoxLayout;
    typ->addWidget(chTypDVD_);
    typ->addWidget(chTypVHS_);
    typ->addStretch();
    int r = 0;
    fields->addWidget(Caption(QStringLiteral("N&ázev:"), eNazevCesky_, page), r, 0);
    fields->addWidget(eNazevCesky_, r++, 1, 1, 3);
    fields->addWidget(Caption(QStringLiteral("&Originální název:"), eNazevOrig_, page), r, 0);
    fields->addWidget(eNazevOrig_, r++, 1, 1, 3);
    fields->addWidget(Caption(QStringLiteral("EAN kód:"), eEANKod_, page), r, 0);
    fields->addWidget(eEANKod_, r, 1);
    fields->addWidget(new QLabel(QStringLiteral("Typ nosiče:"), page), r, 2);
    fields->addLayout(typ, r++, 3);
    fields->addWidget(Caption(QStringLiteral("&Žánr:"), cbZanr_, page), r, 0);
    fields->addWidget(cbZanr_, r, 1);
    fields->addWidget(Caption(QStringLiteral("Půjčovné:"), eCenaPujcka_, page), r, 2);
    auto* cena = new QHBoxLayout;
    cena->addWidget(eCenaPujcka_);
    cena->addWidget(lMenaPujcka_);
    fields->addLayout(cena, r++, 3);
    fields->addWidget(Caption(QStringLiteral("Celkem kusů:"), ePocetCelkem_, page), r, 0);
    fields->addWidget(ePocetCelkem_, r, 1);
    fields->addWidget(Caption(QStringLiteral("Nákupní cena:"), eCenaNakupCelkem_, page), r, 2);
    auto* nakup = new QHBoxLayout;
    nakup->addWidget(eCenaNakupCelkem_);
    nakup->addWidget(lMenaNakup_);
    fields->addLayout(nakup, r++, 3);
    fields->addWidget(Caption(QStringLiteral("Stavem nyní:"), ePocetPritomno_, page), r, 0);
    fields->addWidget(ePocetPritomno_, r++, 1);
    fields->addWidget(Caption(QStringLiteral("Datum změny:"), eDZmeny_, page), r, 0);
    fields->addWidget(eDZmeny_, r, 1);
    fields->addWidget(Caption(QStringLiteral("Změnil:"), eUzivZmena_, page), r, 2);
    fields->addWidget(eUzivZmena_, r++, 3);
    fields->addWidget(Caption(QStringLiteral("Poznámky:"), mPoznamky_, page), r, 0, Qt::AlignTop);
    fields->addWidget(mPoznamky_, r++, 1, 1, 3);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);
    // Codes, amounts and dates stay whole in the smallest window; the covers give way instead.
    const QString castka = QStringLiteral("99 999,00");
    for (const auto& [field, sample] :
         std::initializer_list<std::pair<TMoxEdit*, QString>>{{eEANKod_, QStringLiteral("0000000000000")},
                                                              {ePocetCelkem_, QStringLiteral("9 999")},
                                                              {ePocetPritomno_, QStringLiteral("9 999")},
                                                              {eCenaPujcka_, castka},
                                                              {eCenaNakupCelkem_, castka},
                                                              {eDZmeny_, QStringLiteral("00.00.0000 00:00")},
                                                              {eUzivZmena_, QStringLiteral("Jana Novotná")}})
        FitFieldTo(field, sample);

    auto* covers = new QHBoxLayout;
    for (const bool front : {true, false}) {
        auto* box = new QVBoxLayout;
        auto* frame = Named(new TPictureFrame(page), front ? "ImageObalPred" : "ImageObalZadni");
        frame->setMinimumSize(100, 140);
        frame->setMaximumWidth(210);
        (front ? imageObalPred_ : imageObalZadni_) = frame;
        box->addWidget(
            new QLabel(front ? QStringLiteral("Obal přední:") : QStringLiteral("Obal zadní:"), page));
        box->addWidget(frame, 1);
        // Two rows of buttons keep the cover's column narrow.
        auto* buttons = new QGridLayout;
        auto* ziskat =
            Named(new TMoxButton(QStringLiteral("Získat..."), page), front ? "BZiskatPred" : "BZiskatZa");
        auto* nacist =
            Named(new TMoxButton(QStringLiteral("Načíst..."), page), front ? "BNacistPred" : "BNacistZa");
        auto* smazat =
            Named(new TMoxButton(QStringLiteral("Smazat"), page), front ? "BSmazatPred" : "BSmazatZa");
        buttons->addWidget(ziskat, 0, 0);
        buttons->addWidget(nacist, 0, 1);
        buttons->addWidget(smazat, 1, 0);
        for (TMoxButton* button : {ziskat, nacist, smazat}) {
            LetNarrowToCaption(button);
            coverButtons_.push_back(button);
        }
        box->addLayout(buttons);
        covers->addLayout(box);
        connect(ziskat, &TMoxButton::clicked, this, Guarded([this, front] { CoverZiskat(front); }));
        connect(nacist, &TMoxButton::clicked, this, Guarded([this, front] { CoverNacist(front); }));
        connect(smazat, &TMoxButton::clicked, this, [this, front] { CoverSmazat(front); });
        connect(frame, &TPictureFrame::doubleClicked, this,
                Guarded([this, frame] { ShowPreview(frame->Picture()); }));
    }

    gridNosice_ = Named(new TMoxGrid(page), "GridNosice");
    gridNosice_->setModel(tableNosice_);
    for (const char* hidden : {"KOD_NOSIC", "SAVED_NOSIC", "ZRUSEN_PRI_NACTENI", "DUVOD_PRI_NACTENI",
                               "PUJCEN_PRI_VYRAZENI", "CENA_PRI_NACTENI"})
        gridNosice_->setColumnHidden(tableNosice_->columnIndex(QString::fromLatin1(hidden)), true);
    gridNosice_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                 QAbstractItemView::AnyKeyPressed);
    gridNosice_->setOnGetCellParams([this](TMoxCellParams& cell) {
        if (!cell.highlighted && !tableNosice_->value(cell.row, QStringLiteral("D_ZRUSENI")).isNull())
            cell.fontColor = Qt::red;
    });
    bPridat_ = Named(new TMoxButton(QStringLiteral("Přidat"), page), "BPridat");
    bVyradit_ = Named(new TMoxButton(QStringLiteral("Vyřadit"), page), "BVyradit");
    bStitek_ = Named(new TMoxButton(QStringLiteral("Tisk"), page), "BStitek");
    auto* mediaButtons = new QVBoxLayout;
    mediaButtons->addWidget(bPridat_);
    mediaButtons->addWidget(bVyradit_);
    mediaButtons->addWidget(bStitek_);
    mediaButtons->addStretch();
    mediaButtons->addWidget(NewRetiredLegend(page));
    connect(bPridat_, &TMoxButton::clicked, this, &TFFilmy::Pridat);
    connect(bVyradit_, &TMoxButton::clicked, this, Guarded([this] { Vyradit(); }));
    connect(bStitek_, &TMoxButton::clicked, this, Guarded([this] { Stitek(); }));

    auto* top = new QHBoxLayout;
    top->addLayout(fields, 1);
    top->addLayout(covers);
    auto* media = new QHBoxLayout;
    media->addWidget(gridNosice_, 1);
    media->addLayout(mediaButtons);
    auto* column = new QVBoxLayout(page);
    column->addLayout(top, 3);
    column->addLayout(media, 2);

    titleControls_.insert(titleControls_.end(),
                          {eNazevCesky_, eNazevOrig_, eEANKod_, chTypDVD_, chTypVHS_, cbZanr_, ePocetCelkem_,
                           ePocetPritomno_, eCenaPujcka_, eCenaNakupCelkem_, eDZmeny_, eUzivZmena_,
                           mPoznamky_, imageObalPred_, imageObalZadni_, gridNosice_});
    AddCaptions(page);
    return page;
}

QWidget* TFFilmy::BuildPopisPage() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    eFilmRezie_ = Edit(page, "EFilmRezie", 160);
    eFilmScenar_ = Edit(page, "EFilmScenar", 256);
    eFilmHraji_ = Edit(page, "EFilmHraji", 1024);
    eFilmRok_ = Number(page, "EFilmRok", 0, 1900, 3000);
    eFilmRok_->setThSeparator(false);
    eFilmDelka_ = Number(page, "EFilmDelka", 0, 0, 999);
    eFilmZeme_ = Edit(page, "EFilmZeme", 256);
    eFilmProducent_ = Edit(page, "EFilmProducent", 128);
    eFilmPristup_ = Number(page, "EFilmPristup", 0, 0, 99);
    cbFilmZvuk_ = Named(new TMoxComboBox(page), "CBFilmZvuk");
    lbFilmTitulky_ = Named(new TMoxCheckListBox(page), "LBFilmTitulky");
    lbFilmJazyky_ = Named(new TMoxCheckListBox(page), "LBFilmJazyky");
    mFilmObsah_ = Named(new TMoxMemo(page), "MFilmObsah");

    int r = 0;
    const auto add = [&](const QString& caption, QWidget* control, int col = 0, int span = 3) {
        grid->addWidget(Caption(caption, control, page), r, col, Qt::AlignTop);
        grid->addWidget(control, r, col + 1, 1, span);
    };
    add(QStringLiteral("&Režie:"), eFilmRezie_);
    ++r;
    add(QStringLiteral("&Scénář:"), eFilmScenar_);
    ++r;
    add(QStringLiteral("&Hrají:"), eFilmHraji_);
    ++r;
    add(QStringLiteral("R&ok výroby:"), eFilmRok_, 0, 1);
    add(QStringLiteral("Délk&a (min.):"), eFilmDelka_, 2, 1);
    ++r;
    add(QStringLiteral("Ze&mě původu:"), eFilmZeme_, 0, 1);
    add(QStringLiteral("Produ&cent:"), eFilmProducent_, 2, 1);
    ++r;
    add(QStringLiteral("P&řístupnost (roky):"), eFilmPristup_, 0, 1);
    add(QStringLiteral("Z&vuk:"), cbFilmZvuk_, 2, 1);
    ++r;
    add(QStringLiteral("Titu&lky:"), lbFilmTitulky_, 0, 1);
    add(QStringLiteral("&Jazykové mutace:"), lbFilmJazyky_, 2, 1);
    ++r;
    add(QStringLiteral("O&bsah:"), mFilmObsah_);
    grid->setRowStretch(r, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    titleControls_.insert(titleControls_.end(), {eFilmRezie_, eFilmScenar_, eFilmHraji_, eFilmRok_,
                                                 eFilmDelka_, eFilmZeme_, eFilmProducent_, eFilmPristup_,
                                                 cbFilmZvuk_, lbFilmTitulky_, lbFilmJazyky_, mFilmObsah_});
    AddCaptions(page);
    return page;
}

QWidget* TFFilmy::BuildObrazkyPage() {
    auto* page = new QWidget(this);
    imageObrazek_ = Named(new TFilmyObrazek(page), "ImageObrazek");
    imageObrazek_->setMinimumSize(320, 240);
    lObrPocet_ = Named(new QLabel(QStringLiteral("0 / 0"), page), "LObrPocet");
    bObrZpet_ = Named(new TMoxButton(QStringLiteral("<<"), page), "BObrZpet");
    bObrVpred_ = Named(new TMoxButton(QStringLiteral(">>"), page), "BObrVpred");
    bObrZiskat_ = Named(new TMoxButton(QStringLiteral("Získat..."), page), "BObrZiskat");
    bObrNacist_ = Named(new TMoxButton(QStringLiteral("Načíst..."), page), "BObrNacist");
    bObrSmazat_ = Named(new TMoxButton(QStringLiteral("Smazat"), page), "BObrSmazat");
    auto* buttons = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{bObrZpet_, lObrPocet_, bObrVpred_})
        buttons->addWidget(w);
    buttons->addStretch();
    for (QWidget* w : std::initializer_list<QWidget*>{bObrZiskat_, bObrNacist_, bObrSmazat_})
        buttons->addWidget(w);
    auto* column = new QVBoxLayout(page);
    column->addWidget(imageObrazek_, 1);
    column->addLayout(buttons);

    connect(bObrZpet_, &TMoxButton::clicked, this, Guarded([this] { MovePicture(-1); }));
    connect(bObrVpred_, &TMoxButton::clicked, this, Guarded([this] { MovePicture(1); }));
    connect(bObrZiskat_, &TMoxButton::clicked, this, Guarded([this] {
                if (picturesOpen_)
                    AddPicture(Acquire());
            }));
    connect(bObrNacist_, &TMoxButton::clicked, this, Guarded([this] {
                if (picturesOpen_)
                    AddPicture(ChooseJpeg());
            }));
    connect(bObrSmazat_, &TMoxButton::clicked, this, Guarded([this] { ObrazekSmazat(); }));
    connect(imageObrazek_, &TFilmyObrazek::doubleClicked, this,
            Guarded([this] { ShowPreview(imageObrazek_->Picture()); }));
    return page;
}

void TFFilmy::Guard(const std::function<void()>& action) {
    RunReported(action);
}

void TFFilmy::AddCaptions(QWidget* page) {
    // The captions, currency symbols and the legend grey out with the title's controls.
    for (QLabel* label : page->findChildren<QLabel*>())
        titleControls_.push_back(label);
}

void TFFilmy::ConnectChanges() {
    for (TMoxEdit* edit : {eNazevCesky_, eNazevOrig_, eEANKod_, eFilmRezie_, eFilmScenar_, eFilmHraji_,
                           eFilmZeme_, eFilmProducent_})
        connect(edit, &QLineEdit::textEdited, this, &TFFilmy::Modified);
    for (TMoxNumEdit* edit : {eCenaPujcka_, eFilmRok_, eFilmDelka_, eFilmPristup_})
        connect(edit, &QLineEdit::textEdited, this, &TFFilmy::Modified);
    for (TMoxMemo* memo : {mPoznamky_, mFilmObsah_})
        connect(memo, &QPlainTextEdit::textChanged, this, &TFFilmy::Modified);
    for (TMoxCheckBox* choice : {chTypDVD_, chTypVHS_})
        connect(choice, &TMoxCheckBox::changed, this, &TFFilmy::Modified);
    for (TMoxComboBox* list : {cbZanr_, cbFilmZvuk_})
        connect(list, &QComboBox::currentIndexChanged, this, &TFFilmy::Modified);
    for (TMoxCheckListBox* list : {lbFilmTitulky_, lbFilmJazyky_})
        connect(list, &QListWidget::itemChanged, this, &TFFilmy::Modified);
    connect(tableNosice_, &TMemTable::changed, this, &TFFilmy::MediaChanged);
    connect(tableNosice_, &TMemTable::currentRowChanged, this, &TFFilmy::UpdateMediaButtons);
    connect(pages_, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == PageObrazky && !picturesOpen_ && mode_ != TMode::Empty)
            Guard([this] { LoadPictures(); });
    });
}
