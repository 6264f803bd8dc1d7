#include "AppContext.h"
#include "DeskSurface.h"
#include "GlobDialog.h"
#include "MoxButton.h"
#include "MoxEdit.h"
#include "MoxLabel.h"
#include "MoxMemo.h"
#include "NastaveniPages.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

TPagePobocka::TPagePobocka(TAppContext& context, QWidget* parent)
    : TSettingsPage(context, "BUlozPob", parent) {
    // The administrator, the only user who reaches this page, keeps the whole identity: a new
    // shop has no supplier to fill in its name, address and company number.
    const auto edit = [this](const char* name, int length) {
        auto* field = Named(new TMoxEdit(this), name);
        field->setMaxLength(length);
        Watch(field, &QLineEdit::textEdited);
        return field;
    };
    EJmeno = edit("EJmeno", 80);
    EUlice = edit("EUlice", 48);
    EObec = edit("EObec", 48);
    EPsc = edit("EPsc", 6);
    EIc = edit("EIc", 8);
    EDic = edit("EDic", 16);
    ETel = edit("ETel", 32);
    EFax = edit("EFax", 32);
    EEmail = edit("EEmail", 48);
    EWeb = edit("EWeb", 120);
    MTextDoklad = Named(new TMoxMemo(this), "MTextDoklad");
    Watch(MTextDoklad, &QPlainTextEdit::textChanged);
    ILogo = Named(new QLabel(this), "ILogo");
    ILogo->setMinimumSize(160, 100);
    ILogo->setFrameShape(QFrame::Box);
    ILogo->setAlignment(Qt::AlignCenter);
    BNacistLogo = Named(new TMoxButton(QStringLiteral("Načíst..."), this), "BNacistLogo");
    BSmazatLogo = Named(new TMoxButton(QStringLiteral("Smazat"), this), "BSmazatLogo");
    connect(BNacistLogo, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Otevřít obrázek"),
                                                          logoFolder_, QStringLiteral("Obrázky (*.bmp)"));
        if (!file.isEmpty())
            LoadLogo(file);
    });
    connect(BSmazatLogo, &QPushButton::clicked, this, &TPagePobocka::ClearLogo);

    auto* form = new QGridLayout;
    int line = 0;
    const auto add = [&](const QString& caption, QWidget* field) {
        form->addWidget(Caption(caption, field, this), line, 0);
        form->addWidget(field, line++, 1);
    };
    add(QStringLiteral("&Jméno:"), EJmeno);
    add(QStringLiteral("U&lice:"), EUlice);
    add(QStringLiteral("O&bec:"), EObec);
    add(QStringLiteral("P&SČ:"), EPsc);
    add(QStringLiteral("I&Č:"), EIc);
    add(QStringLiteral("DIČ:"), EDic);
    add(QStringLiteral("Telef&on:"), ETel);
    add(QStringLiteral("F&ax:"), EFax);
    add(QStringLiteral("&Email:"), EEmail);
    add(QStringLiteral("&WEB:"), EWeb);
    add(QStringLiteral("Te&xt na doklad:"), MTextDoklad);
    auto* logo = new QVBoxLayout;
    logo->addWidget(ILogo);
    auto* logoButtons = new QHBoxLayout;
    logoButtons->addWidget(BNacistLogo);
    logoButtons->addWidget(BSmazatLogo);
    logo->addLayout(logoButtons);
    logo->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(form, 2);
    columns->addSpacing(24);
    columns->addLayout(logo, 1);
    auto* page = new QVBoxLayout(this);
    page->addLayout(columns);
    page->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(BUloz);
    page->addLayout(bottom);
}

void TPagePobocka::Load() {
    const TLoading loading(*this);
    std::optional<TBranch> branch;
    RunInTransaction(context_.Db().DB,
                     [&](TTransaction& transaction) { branch = LoadBranch(context_.Db(), transaction); });
    const bool found = branch.has_value();
    loaded_ = found ? *branch : TBranch{};
    logo_ = loaded_.Logo;
    EJmeno->setText(loaded_.Jmeno);
    EUlice->setText(loaded_.AdrUlice);
    EObec->setText(loaded_.AdrObec);
    EPsc->setText(loaded_.AdrPsc);
    EIc->setText(loaded_.Ic);
    EDic->setText(loaded_.Dic);
    ETel->setText(loaded_.Tel);
    EFax->setText(loaded_.Fax);
    EEmail->setText(loaded_.Email);
    EWeb->setText(loaded_.Web);
    MTextDoklad->setPlainText(loaded_.TextDoklad);
    for (QWidget* w :
         std::initializer_list<QWidget*>{EJmeno, EUlice, EObec, EPsc, EIc, EDic, ETel, EFax, EEmail, EWeb,
                                         MTextDoklad, BNacistLogo, BSmazatLogo, ILogo})
        w->setEnabled(found);
    ShowLogo();
    MarkSaved();
    if (!found)
        ReportError(QStringLiteral("Chyba v datech. Data k pobočce nebyla nalezen."));
}

QWidget* TPagePobocka::FirstInput() {
    return EJmeno;
}

void TPagePobocka::ShowLogo() {
    const QImage image = QImage::fromData(logo_, "BMP");
    if (image.isNull())
        ILogo->clear();
    else
        ILogo->setPixmap(QPixmap::fromImage(image).scaled(ILogo->size(), Qt::KeepAspectRatio));
}

bool TPagePobocka::LoadLogo(const QString& fileName) {
    QFile file(fileName);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (QImage::fromData(bytes, "BMP").isNull()) {
        Warn(QStringLiteral("Soubor \"%1\" není obrázek BMP. Logo nebylo změněno.").arg(fileName));
        return false;
    }
    logoFolder_ = QFileInfo(fileName).absolutePath();
    logo_ = bytes;
    ShowLogo();
    MarkChanged();
    return true;
}

void TPagePobocka::ClearLogo() {
    logo_.clear();
    ShowLogo();
    MarkChanged();
}

TBranch TPagePobocka::Input() const {
    TBranch branch = loaded_;
    branch.Jmeno = EJmeno->text();
    branch.AdrUlice = EUlice->text();
    branch.AdrObec = EObec->text();
    branch.AdrPsc = EPsc->text();
    branch.Ic = EIc->text();
    branch.Dic = EDic->text();
    branch.Tel = ETel->text();
    branch.Fax = EFax->text();
    branch.Email = EEmail->text();
    branch.Web = EWeb->text();
    branch.TextDoklad = MTextDoklad->toPlainText();
    branch.Logo = logo_;
    return branch;
}

bool TPagePobocka::Save() {
    const TBranch branch = Input();
    if (const auto refused = CheckBranch(branch)) {
        Warn(*refused);
        MTextDoklad->setFocus();
        return false;
    }
    SaveBranch(context_.Db(), context_.Pobocka(), loaded_, branch);
    loaded_ = branch;
    MarkSaved();
    return true;
}
