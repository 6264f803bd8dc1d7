// The customer desk's form: its controls, their layout and their connections.
#include "Zakaznici.h"

#include "DeskSurface.h"
#include "FailureGuard.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxEdit.h"
#include "MoxLabel.h"
#include "MoxMemo.h"
#include "MoxNumEdit.h"
#include "MoxPanel.h"
#include "PictureFrame.h"
#include "SearchBrowse.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

void TFZakaznici::BuildForm() {
    SetDeskSurface(this);

    // Search.
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
    EHledejEAN = searchField(QStringLiteral("&EAN kód:"), "EHledejEAN", 16);
    EHledejPrijmeni = searchField(QStringLiteral("P&říjmení:"), "EHledejPrijmeni", 32);
    FitFieldTo(EHledejEAN, QStringLiteral("0000000000000000"));
    FitFieldTo(EHledejPrijmeni, QStringLiteral("Novotná-Procházková"));
    BHledej = Named(new TMoxButton(QStringLiteral("Hledej"), this), "BHledej");
    BPredchozi = Named(new TMoxButton(QStringLiteral("Předchozí"), this), "BPredchozi");
    BNasledujici = Named(new TMoxButton(QStringLiteral("Následující"), this), "BNasledujici");
    LFiltr = Named(new TMoxLabel(this), "LFiltr");
    LPocet = Named(new TMoxLabel(this), "LPocet");
    for (TMoxButton* button : {BHledej, BPredchozi, BNasledujici})
        LetNarrowToCaption(button);
    search->addWidget(BHledej);
    search->addSpacing(12);
    search->addWidget(BPredchozi);
    search->addWidget(BNasledujici);
    search->addWidget(LPocet);
    search->addWidget(LFiltr, 1);
    BPredchozi->setEnabled(false);
    BNasledujici->setEnabled(false);

    // Customer fields.
    auto* grid = new QGridLayout;
    int row = 0;
    const auto place = [&](QWidget* field, const QString& caption, int column, int span = 1) {
        QLabel* label = nullptr;
        if (!caption.isEmpty()) {
            label = new TMoxLabel(caption, this);
            label->setBuddy(field);
            grid->addWidget(label, row, column * 2);
            fields_.push_back(label);
        }
        grid->addWidget(field, row, column * 2 + 1, 1, span);
        fields_.push_back(field);
        return label;
    };
    const auto edit = [&](const char* name, const QString& caption, int length, int column,
                          bool writable = true) {
        auto* field = Named(new TMoxEdit(this), name);
        if (length > 0)
            field->setMaxLength(length);
        place(field, caption, column);
        if (writable)
            editable_.push_back(field);
        return field;
    };
    EKodZak = edit("EKodZak", QStringLiteral("Číslo zákazníka:"), 0, 0, false);
    EEANKod = edit("EEANKod", QStringLiteral("EAN kód:"), 16, 1, false);
    ++row;
    ETitulPred = edit("ETitulPred", QStringLiteral("Titul př.:"), 16, 0);
    ETitulZa = edit("ETitulZa", QStringLiteral("Titul za:"), 8, 1);
    ++row;
    EJmeno = edit("EJmeno", QStringLiteral("&Jméno:"), 24, 0);
    EPrijmeni = edit("EPrijmeni", QStringLiteral("Příj&mení:"), 32, 1);
    ++row;
    EAdrUlice = edit("EAdrUlice", QStringLiteral("U&lice:"), 48, 0);
    EAdrPSC = edit("EAdrPSC", QStringLiteral("P&SČ:"), 6, 1);
    ++row;
    EAdrObec = edit("EAdrObec", QStringLiteral("O&bec:"), 48, 0);
    ECisloOP = edit("ECisloOP", QStringLiteral("Č&íslo OP:"), 20, 1);
    ++row;
    EEmail = edit("EEmail", QStringLiteral("Em&ail:"), 64, 0);
    ETelefon = edit("ETelefon", QStringLiteral("Telef&on:"), 24, 1);
    ++row;
    EMobilSMS = edit("EMobilSMS", QStringLiteral("M&obil (pro SMS):"), 16, 0);
    ChPosilatNovinky = Named(new TMoxCheckBox(QStringLiteral("Posílat novink&y"), this), "ChPosilatNovinky");
    place(ChPosilatNovinky, {}, 1);
    ++row;
    ChVIP = Named(new TMoxCheckBox(QStringLiteral("VIP (sleva)"), this), "ChVIP");
    place(ChVIP, {}, 0);
    ++row;
    const auto price = [&](const char* name, const QString& caption, int column) {
        auto* field = Named(new TMoxNumEdit(this), name);
        field->setDecimal(2);
        field->setAlignment(Qt::AlignRight);
        place(field, caption, column);
        return field;
    };
    ECenaVIPDVD = price("ECenaVIPDVD", QStringLiteral("Cena za DVD:"), 0);
    ECenaVIPVHS = price("ECenaVIPVHS", QStringLiteral("Cena za VHS:"), 1);
    ++row;
    MPoznamky = Named(new TMoxMemo(this), "MPoznamky");
    MPoznamky->setMaximumHeight(120);
    place(MPoznamky, QStringLiteral("Poznámky:"), 0, 3);
    ++row;
    EDRegistrace = edit("EDRegistrace", QStringLiteral("Datum registrace:"), 0, 0, false);
    EUzivReg = edit("EUzivReg", QStringLiteral("Registroval:"), 0, 1, false);
    ++row;
    EDZmeny = edit("EDZmeny", QStringLiteral("Datum změny:"), 0, 0, false);
    EUzivZmena = edit("EUzivZmena", QStringLiteral("Změnil:"), 0, 1, false);
    ++row;
    EDUkonceni = Named(new TMoxEdit(this), "EDUkonceni");
    LDUkonceni = place(EDUkonceni, QStringLiteral("Datum ukončení:"), 0);
    EUzivUkoncil = Named(new TMoxEdit(this), "EUzivUkoncil");
    LUzivUkoncil = place(EUzivUkoncil, QStringLiteral("Ukončil:"), 1);
    ++row;
    ChVyradit = Named(new TMoxCheckBox(QStringLiteral("Vyřadit zákazníka"), this), "ChVyradit");
    place(ChVyradit, {}, 0);
    LVyrazen = Named(new TMoxLabel(QStringLiteral("Vyřazen z evidence"), this), "LVyrazen");
    QFont slanted = LVyrazen->font();
    slanted.setItalic(true);
    slanted.setBold(true);
    LVyrazen->setFont(slanted);
    grid->addWidget(LVyrazen, row, 3);
    // Codes, dates, amounts and the usual names and addresses stay whole in the smallest window.
    const QString kod = QStringLiteral("0000000000000000");
    const QString cas = QStringLiteral("00.00.0000 00:00");
    const QString jmeno = QStringLiteral("Novotná-Procházková");
    for (const auto& [field, sample] : std::initializer_list<std::pair<TMoxEdit*, QString>>{
             {EKodZak, kod},
             {EEANKod, kod},
             {EJmeno, jmeno},
             {EPrijmeni, jmeno},
             {EAdrUlice, jmeno},
             {EAdrObec, jmeno},
             {EEmail, QStringLiteral("jana.novotna@example.cz")},
             {ETelefon, QStringLiteral("+420 000 000 000")},
             {EMobilSMS, QStringLiteral("+420 000 000 000")},
             {ECenaVIPDVD, QStringLiteral("99 999,00")},
             {ECenaVIPVHS, QStringLiteral("99 999,00")},
             {EDRegistrace, cas},
             {EDZmeny, cas},
             {EDUkonceni, cas},
             {EUzivReg, jmeno},
             {EUzivZmena, jmeno},
             {EUzivUkoncil, jmeno}})
        FitFieldTo(field, sample);
    grid->setRowStretch(row + 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    // Photo.
    auto* photo = new QVBoxLayout;
    auto* fotoLabel = new TMoxLabel(QStringLiteral("Foto&grafie:"), this);
    ImageFoto = Named(new TPictureFrame(this), "ImageFoto");
    ImageFoto->setFixedSize(180, 220);
    ImageFoto->setFocusPolicy(Qt::StrongFocus);
    fotoLabel->setBuddy(ImageFoto);
    fields_.push_back(fotoLabel);
    fields_.push_back(ImageFoto);
    BZiskatFoto = Named(new TMoxButton(QStringLiteral("Získat..."), this), "BZiskatFoto");
    BNacistFoto = Named(new TMoxButton(QStringLiteral("Načíst..."), this), "BNacistFoto");
    BSmazatFoto = Named(new TMoxButton(QStringLiteral("Smazat"), this), "BSmazatFoto");
    photo->addWidget(fotoLabel);
    photo->addWidget(ImageFoto);
    // One under the other: the photo's column is no wider than the photo, the fields keep the room.
    for (TMoxButton* button : {BZiskatFoto, BNacistFoto, BSmazatFoto})
        photo->addWidget(button);
    photo->addStretch();

    auto* body = new QHBoxLayout;
    body->addLayout(grid, 1);
    body->addSpacing(12);
    body->addLayout(photo);

    // Actions.
    auto* actions = new QHBoxLayout;
    const auto action = [&](const QString& caption, const char* name) {
        auto* button = Named(new TMoxButton(caption, this), name);
        LetNarrowToCaption(button);
        actions->addWidget(button);
        return button;
    };
    BUlozit = action(QStringLiteral("Uložit změny"), "BUlozit");
    BNovy = action(QStringLiteral("Nový zákazník"), "BNovy");
    BZmenit = action(QStringLiteral("Změnit zákazníka"), "BZmenit");
    BTiskPrukazky = action(QStringLiteral("Tisk p&růkazky"), "BTiskPrukazky");
    BStatistika = action(QStringLiteral("Statistika"), "BStatistika");
    BPujcit = action(QStringLiteral("Půjčit/vrácení"), "BPujcit");
    BOdeslat = action(QStringLiteral("Odeslat"), "BOdeslat");
    actions->addStretch();
    for (TMoxButton* button : {BUlozit, BZmenit, BTiskPrukazky, BStatistika, BPujcit})
        button->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(search);
    layout->addLayout(body, 1);
    layout->addLayout(actions);
}

void TFZakaznici::ConnectControls() {
    search_ = new TSearchBrowse(
        {EHledejEAN, EHledejPrijmeni, BHledej, BPredchozi, BNasledujici, LFiltr, LPocet},
        {[this] { return CanLeave(); }, [this](const QString& code) { return HledejKod(code); },
         [this](const QString& name) { return HledejPrijmeni(name); }, [this](int key) { OpenRecord(key); },
         [](const std::function<void()>& action) { RunReported(action); }},
        this);

    for (TMoxEdit* field : editable_)
        connect(field, &QLineEdit::textEdited, this, &TFZakaznici::SetChanged);
    connect(ECenaVIPDVD, &QLineEdit::textEdited, this, &TFZakaznici::SetChanged);
    connect(ECenaVIPVHS, &QLineEdit::textEdited, this, &TFZakaznici::SetChanged);
    connect(MPoznamky, &QPlainTextEdit::textChanged, this, &TFZakaznici::SetChanged);
    connect(ChPosilatNovinky, &TMoxCheckBox::clicked, this, &TFZakaznici::SetChanged);
    connect(ChVyradit, &TMoxCheckBox::clicked, this, &TFZakaznici::SetChanged);
    connect(ChVIP, &TMoxCheckBox::clicked, this, [this] { Guarded(&TFZakaznici::VipClicked); });

    connect(BUlozit, &QPushButton::clicked, this, [this] { RunReported([this] { Ulozit(); }); });
    connect(BNovy, &QPushButton::clicked, this, [this] { Guarded(&TFZakaznici::NovyZakaznik); });
    connect(BZmenit, &QPushButton::clicked, this, [this] { Guarded(&TFZakaznici::Zmenit); });
    connect(BTiskPrukazky, &QPushButton::clicked, this, [this] { Guarded(&TFZakaznici::TiskPrukazky); });
    connect(BStatistika, &QPushButton::clicked, this, [this] { Guarded(&TFZakaznici::Statistika); });
    connect(BPujcit, &QPushButton::clicked, this, [this] { Guarded(&TFZakaznici::PujcitVraceni); });
    connect(BOdeslat, &QPushButton::clicked, this, [this] { Guarded(&TFZakaznici::Odeslat); });
    connect(BZiskatFoto, &QPushButton::clicked, this, [this] { Guarded(&TFZakaznici::ZiskatFoto); });
    connect(BNacistFoto, &QPushButton::clicked, this, [this] { Guarded(&TFZakaznici::NacistFoto); });
    connect(BSmazatFoto, &QPushButton::clicked, this, [this] { Guarded(&TFZakaznici::SmazatFoto); });
    connect(ImageFoto, &TPictureFrame::doubleClicked, this, [this] { Guarded(&TFZakaznici::NahledFoto); });
}
