#include "AppContext.h"
#include "DeskSurface.h"
#include "GlobDialog.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxEdit.h"
#include "MoxGrid.h"
#include "MoxLabel.h"
#include "MoxMemo.h"
#include "NastaveniPages.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QColor kBlocked(128, 128, 128);

} // namespace

TPageUzivatele::TPageUzivatele(TAppContext& context, QWidget* parent)
    : TSettingsPage(context, "BUlozUziv", parent), users_(new TMemTable(UserColumns(), this)) {
    const QStringList titles{QString(),
                             QStringLiteral("Uživatelské jméno"),
                             QStringLiteral("Titul př."),
                             QStringLiteral("Jméno"),
                             QStringLiteral("Příjmení"),
                             QStringLiteral("Titul za"),
                             QStringLiteral("Email"),
                             QStringLiteral("Telefon")};
    const QStringList columns = UserColumns();
    for (int i = 1; i < titles.size(); ++i)
        users_->setColumnTitle(columns.at(i), titles.at(i));
    GridUziv = Named(new TMoxGrid(this), "GridUziv");
    GridUziv->setModel(users_);
    GridUziv->setReadOnly(true);
    GridUziv->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridUziv->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int i = 0; i < columns.size(); ++i)
        GridUziv->setColumnHidden(i, i == 0 || i >= titles.size());
    GridUziv->setSorting(QStringLiteral("PRIJMENI ASC"));
    GridUziv->setOnGetCellParams([this](TMoxCellParams& cell) {
        if (!cell.highlighted && users_->value(cell.row, QStringLiteral("POVOLENI")).toString() == u'N')
            cell.fontColor = kBlocked;
    });
    connect(GridUziv, &TMoxGrid::sortingChanged, this, [this] {
        if (CanLeavePage())
            LoadList(key_);
    });
    connect(users_, &TMemTable::currentRowChanged, this, [this](int row) {
        if (row == shownRow_ || Loading())
            return;
        if (!CanLeavePage()) {
            const TLoading loading(*this);
            users_->setCurrentRow(shownRow_);
            return;
        }
        ShowRow(row);
    });

    EUzivatel = Named(new TMoxEdit(this), "EUzivatel");
    EUzivatel->setMaxLength(48);
    RAdmin = Named(new QRadioButton(QStringLiteral("Administrátor"), this), "RAdmin");
    RVedouci = Named(new QRadioButton(QStringLiteral("Vedoucí"), this), "RVedouci");
    RProdejce = Named(new QRadioButton(QStringLiteral("Prodejce"), this), "RProdejce");
    auto* rights = new QButtonGroup(this);
    for (QRadioButton* choice : {RAdmin, RVedouci, RProdejce}) {
        rights->addButton(choice);
        Watch(choice, &QRadioButton::toggled);
    }
    ChPovoleni = Named(new TMoxCheckBox(QStringLiteral("Povoleno přihlašování"), this), "ChPovoleni");
    connect(ChPovoleni, &TMoxCheckBox::changed, this, [this] { MarkChanged(); });
    ETitulPred = Named(new TMoxEdit(this), "ETitulPred");
    ETitulPred->setMaxLength(16);
    EJmeno = Named(new TMoxEdit(this), "EJmeno");
    EJmeno->setMaxLength(24);
    EPrijmeni = Named(new TMoxEdit(this), "EPrijmeni");
    EPrijmeni->setMaxLength(32);
    ETitulZa = Named(new TMoxEdit(this), "ETitulZa");
    ETitulZa->setMaxLength(8);
    EEmail = Named(new TMoxEdit(this), "EEmail");
    EEmail->setMaxLength(64);
    ETelefon = Named(new TMoxEdit(this), "ETelefon");
    ETelefon->setMaxLength(24);
    MPoznamky = Named(new TMoxMemo(this), "MPoznamky");
    for (TMoxEdit* edit : {EUzivatel, ETitulPred, EJmeno, EPrijmeni, ETitulZa, EEmail, ETelefon})
        Watch(edit, &QLineEdit::textEdited);
    Watch(MPoznamky, &QPlainTextEdit::textChanged);

    BNovyUziv = Named(new TMoxButton(QStringLiteral("Nový uživatel"), this), "BNovyUziv");
    BEditUziv = Named(new TMoxButton(QStringLiteral("Změnit uživatele"), this), "BEditUziv");
    BVymazHeslo = Named(new TMoxButton(QStringLiteral("Vymazat heslo"), this), "BVymazHeslo");
    connect(BNovyUziv, &QPushButton::clicked, this, &TPageUzivatele::NewUser);
    connect(BEditUziv, &QPushButton::clicked, this, &TPageUzivatele::EditUser);
    connect(BVymazHeslo, &QPushButton::clicked, this, &TPageUzivatele::ClearUserPassword);

    auto* editors = new QGridLayout;
    int line = 0;
    const auto add = [&](const QString& caption, QWidget* field) {
        editors->addWidget(Caption(caption, field, this), line, 0);
        editors->addWidget(field, line++, 1);
    };
    add(QStringLiteral("U&živatelské jméno:"), EUzivatel);
    auto* rightsRow = new QHBoxLayout;
    rightsRow->addWidget(RAdmin);
    rightsRow->addWidget(RVedouci);
    rightsRow->addWidget(RProdejce);
    rightsRow->addStretch();
    editors->addLayout(rightsRow, line++, 1);
    editors->addWidget(ChPovoleni, line++, 1);
    add(QStringLiteral("Titul př.:"), ETitulPred);
    add(QStringLiteral("&Jméno:"), EJmeno);
    add(QStringLiteral("Příj&mení:"), EPrijmeni);
    add(QStringLiteral("Titul za:"), ETitulZa);
    add(QStringLiteral("&Email:"), EEmail);
    add(QStringLiteral("Telef&on:"), ETelefon);
    add(QStringLiteral("Poznámky:"), MPoznamky);

    auto* left = new QVBoxLayout;
    left->addWidget(GridUziv, 1);
    left->addWidget(Legend(QStringLiteral("Uživatel nemá povoleno přihlášení."), kBlocked, this));
    auto* right = new QVBoxLayout;
    right->addLayout(editors);
    right->addStretch();
    auto* columnsRow = new QHBoxLayout;
    columnsRow->addLayout(left, 3);
    columnsRow->addLayout(right, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BNovyUziv);
    buttons->addWidget(BEditUziv);
    buttons->addWidget(BVymazHeslo);
    buttons->addStretch();
    buttons->addWidget(BUloz);
    auto* page = new QVBoxLayout(this);
    page->addLayout(columnsRow, 1);
    page->addLayout(buttons);
    SetEditable(false);
    BEditUziv->setEnabled(false);
    BVymazHeslo->setEnabled(false);
}

void TPageUzivatele::Load() {
    LoadList(key_);
}

QWidget* TPageUzivatele::FirstInput() {
    return GridUziv;
}

void TPageUzivatele::LoadList(int keepKey) {
    QList<QVariantList> rows;
    RunInTransaction(context_.Db().DB, [&](TTransaction& transaction) {
        rows = LoadUsers(context_.Db(), transaction, GridUziv->sorting());
    });
    int row = rows.isEmpty() ? -1 : 0;
    for (int i = 0; i < rows.size(); ++i)
        if (rows.at(i).first().toInt() == keepKey)
            row = i;
    {
        const TLoading loading(*this);
        users_->setRows(rows);
        users_->setCurrentRow(row);
    }
    ShowRow(row);
}

void TPageUzivatele::ShowRow(int row) {
    const TLoading loading(*this);
    shownRow_ = row;
    key_ = row < 0 ? -1 : users_->value(row, QStringLiteral("KOD_UZIV")).toInt();
    const auto text = [&](const char* column) {
        return row < 0 ? QString() : users_->value(row, QString::fromLatin1(column)).toString();
    };
    EUzivatel->setText(text("UZIVATEL"));
    const QString prava = text("PRAVA");
    RAdmin->setChecked(prava == u'A');
    RVedouci->setChecked(prava == u'V');
    RProdejce->setChecked(prava != u'A' && prava != u'V');
    ChPovoleni->setChecked(text("POVOLENI") != u'N');
    ETitulPred->setText(text("TITUL_PRED"));
    EJmeno->setText(text("JMENO"));
    EPrijmeni->setText(text("PRIJMENI"));
    ETitulZa->setText(text("TITUL_ZA"));
    EEmail->setText(text("EMAIL"));
    ETelefon->setText(text("TELEFON"));
    MPoznamky->setPlainText(text("POZNAMKY"));
    SetEditable(false);
    BEditUziv->setEnabled(row >= 0);
    BVymazHeslo->setEnabled(row >= 0);
    MarkSaved();
}

void TPageUzivatele::SetEditable(bool editable) {
    for (TMoxEdit* edit : {EUzivatel, ETitulPred, EJmeno, EPrijmeni, ETitulZa, EEmail, ETelefon})
        edit->setReadOnly(!editable);
    MPoznamky->setReadOnly(!editable);
    ChPovoleni->setReadOnly(!editable);
    for (QRadioButton* choice : {RAdmin, RVedouci, RProdejce})
        choice->setEnabled(editable);
}

void TPageUzivatele::NewUser() {
    if (!CanLeavePage())
        return;
    const TLoading loading(*this);
    key_ = -1;
    for (TMoxEdit* edit : {EUzivatel, ETitulPred, EJmeno, EPrijmeni, ETitulZa, EEmail, ETelefon})
        edit->clear();
    MPoznamky->clear();
    RProdejce->setChecked(true);
    ChPovoleni->setChecked(true);
    SetEditable(true);
    BEditUziv->setEnabled(false);
    BVymazHeslo->setEnabled(false);
    MarkSaved();
    EUzivatel->setFocus();
}

void TPageUzivatele::EditUser() {
    if (key_ < 0)
        return;
    SetEditable(true);
    BEditUziv->setEnabled(false);
    EUzivatel->setFocus();
}

void TPageUzivatele::ClearUserPassword() {
    if (key_ < 0)
        return;
    Inform(
        ClearPassword(context_.Db(), key_, users_->value(shownRow_, QStringLiteral("UZIVATEL")).toString()));
}

TUserInput TPageUzivatele::Input() const {
    TUserInput input;
    input.Uzivatel = EUzivatel->text();
    input.TitulPred = ETitulPred->text();
    input.Jmeno = EJmeno->text();
    input.Prijmeni = EPrijmeni->text();
    input.TitulZa = ETitulZa->text();
    input.Email = EEmail->text();
    input.Telefon = ETelefon->text();
    input.Poznamky = MPoznamky->toPlainText();
    input.Povoleni = ChPovoleni->isChecked();
    input.Prava = RAdmin->isChecked() ? u'A' : RVedouci->isChecked() ? u'V' : u'P';
    return input;
}

bool TPageUzivatele::Save() {
    TUserSave saved;
    {
        const TWaitBox wait(QStringLiteral("Ulkádám nastavení Uživatelé..."));
        saved = SaveUser(context_.Db(), Input(), key_);
    }
    if (!saved.Saved) {
        Warn(saved.Message);
        QWidget* field = saved.Field == TUserField::Jmeno      ? EJmeno
                         : saved.Field == TUserField::Prijmeni ? EPrijmeni
                                                               : EUzivatel;
        field->setFocus();
        return false;
    }
    MarkSaved();
    LoadList(saved.Key);
    return true;
}
