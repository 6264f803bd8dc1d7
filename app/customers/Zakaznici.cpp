#include "Zakaznici.h"

#include "AppContext.h"
#include "CustomerSave.h"
#include "FailureGuard.h"
#include "FailureReport.h"
#include "GlobDialog.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxEdit.h"
#include "MoxLabel.h"
#include "MoxMemo.h"
#include "MoxNumEdit.h"
#include "NahledObrazku.h"
#include "PictureFrame.h"
#include "SearchBrowse.h"
#include "ZakHistorie.h"
#include "ZakOdeslat.h"
#include "ZakPrukaz.h"
#include "ZiskaniObr.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScopeGuard>

#include <exception>

TFZakaznici::TFZakaznici(TAppContext& ctx, QWidget* parent)
    : TDesk(parent), ctx_(ctx), trDesk_(ctx.Db().DB), trHledej_(ctx.Db().DB) {
    setObjectName(QStringLiteral("FZakaznici"));
    BuildForm();
    ConnectControls();
    for (TMoxEdit* field :
         {EKodZak, EEANKod, EDRegistrace, EUzivReg, EDZmeny, EUzivZmena, EDUkonceni, EUzivUkoncil})
        field->setReadOnly(true);
    ShowEnded(false);
    SetMode(TMode::Empty);
}

void TFZakaznici::Guarded(void (TFZakaznici::*action)()) {
    RunReported([this, action] { (this->*action)(); });
}

void TFZakaznici::ShowDesk(bool) {
    SetMode(TMode::Empty);
    EHledejEAN->setFocus();
}

void TFZakaznici::OpenRecord(int key) {
    key_ = key;
    LoadCustomer();
}

bool TFZakaznici::CanLeave() {
    if (!BUlozit->isEnabled())
        return true;
    switch (Ask(QStringLiteral("Provedené změny nebyly uloženy. Uložit?"), true)) {
    case TMsgResult::Yes:
        return Ulozit();
    case TMsgResult::No:
        return true;
    default:
        return false;
    }
}

void TFZakaznici::LeaveDesk() {
    if (trDesk_.Active())
        trDesk_.Commit();
    CloseSearch();
}

void TFZakaznici::keyPressEvent(QKeyEvent* event) {
    // Enter saves, as on the titles desk; the search fields take their Enter themselves.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && BUlozit->isEnabled()) {
        RunReported([this] { Ulozit(); });
        return;
    }
    TDesk::keyPressEvent(event);
}

void TFZakaznici::SetMode(TMode mode) {
    mode_ = mode;
    if (mode == TMode::Empty) {
        // No customer is shown, so none is shown as ended.
        ShowEnded(false);
        EDUkonceni->clear();
        EUzivUkoncil->clear();
    }
    const bool enabled = mode != TMode::Empty;
    const bool edit = mode == TMode::Edit;
    for (QWidget* field : fields_)
        field->setEnabled(enabled);
    for (TMoxEdit* field : editable_)
        field->setReadOnly(!edit);
    MPoznamky->setReadOnly(!edit);
    ChPosilatNovinky->setReadOnly(!edit);
    ChVIP->setReadOnly(!edit);
    ChVyradit->setReadOnly(!edit);
    // Ending belongs to a stored customer; a new one is not ended by its first save.
    ChVyradit->setEnabled(enabled && key_ != -1);
    UpdateVipEditable();
    for (TMoxButton* button : {BZiskatFoto, BNacistFoto, BSmazatFoto})
        button->setEnabled(edit);
}

void TFZakaznici::UpdateVipEditable() {
    const bool editable = mode_ == TMode::Edit && ChVIP->isChecked();
    ECenaVIPDVD->setReadOnly(!editable);
    ECenaVIPVHS->setReadOnly(!editable);
}

void TFZakaznici::SetChanged() {
    if (!loading_ && mode_ == TMode::Edit)
        BUlozit->setEnabled(true);
}

void TFZakaznici::ShowEnded(bool ended) {
    ChVyradit->setVisible(!ended);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{LVyrazen, LDUkonceni, EDUkonceni, LUzivUkoncil, EUzivUkoncil})
        widget->setVisible(ended);
}

void TFZakaznici::ClearFields() {
    loading_ = true;
    const auto done = qScopeGuard([this] { loading_ = false; });
    for (TMoxEdit* field :
         {EKodZak, EEANKod, ETitulPred, EJmeno, EPrijmeni, ETitulZa, EAdrUlice, EAdrPSC, EAdrObec, ECisloOP,
          EEmail, ETelefon, EMobilSMS, EDRegistrace, EUzivReg, EDZmeny, EUzivZmena, EDUkonceni, EUzivUkoncil})
        field->clear();
    ECenaVIPDVD->setValue(0);
    ECenaVIPVHS->setValue(0);
    ChPosilatNovinky->setChecked(false);
    ChVIP->setChecked(false);
    ChVyradit->setChecked(false);
    MPoznamky->clear();
    ImageFoto->Clear();
    foto_ = {};
}

TCustomerFields TFZakaznici::ReadFields() const {
    TCustomerFields f;
    f.TitulPred = ETitulPred->text();
    f.Jmeno = EJmeno->text();
    f.Prijmeni = EPrijmeni->text();
    f.TitulZa = ETitulZa->text();
    f.AdrUlice = EAdrUlice->text();
    f.AdrPsc = EAdrPSC->text();
    f.AdrObec = EAdrObec->text();
    f.CisloOP = ECisloOP->text();
    f.Email = EEmail->text();
    f.Telefon = ETelefon->text();
    f.MobilSms = EMobilSMS->text();
    f.Poznamky = MPoznamky->toPlainText();
    f.Vip = ChVIP->isChecked();
    f.CenaVipDvd = ECenaVIPDVD->value();
    f.CenaVipVhs = ECenaVIPVHS->value();
    f.PosilatNovinky = ChPosilatNovinky->isChecked();
    return f;
}

QString TFZakaznici::JmenoPrijmeni() const {
    return EJmeno->text() + u' ' + EPrijmeni->text();
}

void TFZakaznici::CloseSearch() {
    search_->Close();
    if (trHledej_.Active())
        trHledej_.Commit();
}

bool TFZakaznici::HledejKod(const QString& code) {
    int found = -1;
    {
        auto query = ctx_.Db().OpenQuery(trDesk_, CustomerByCodeSql(code));
        query->Open();
        if (!query->Eof())
            found = query->FieldByName(QStringLiteral("KOD_ZAK")).AsInteger();
    }
    trDesk_.Commit();
    if (found == -1) {
        Warn(CustomerNotFoundText(code));
        return false;
    }
    OpenRecord(found);
    return true;
}

std::vector<int> TFZakaznici::HledejPrijmeni(const QString& surname) {
    std::vector<int> found;
    {
        auto query = ctx_.Db().OpenQuery(trHledej_, CustomerBySurnameSql(surname));
        query->Open();
        for (; !query->Eof(); query->Next())
            found.push_back(query->FieldByName(QStringLiteral("KOD_ZAK")).AsInteger());
    }
    // Browsing reads each customer afresh; nothing holds the search's transaction open meanwhile.
    trHledej_.Commit();
    return found;
}

void TFZakaznici::LoadCustomer() {
    loading_ = true;
    const auto done = qScopeGuard([this] { loading_ = false; });
    bool ended = false;
    {
        auto query = ctx_.Db().OpenQuery(trDesk_, CustomerLoadSql(key_));
        query->Open();
        if (query->Eof()) {
            query.reset();
            trDesk_.Commit();
            ClearFields();
            SetMode(TMode::Empty);
            for (TMoxButton* button : {BUlozit, BZmenit, BTiskPrukazky, BStatistika, BPujcit})
                button->setEnabled(false);
            ReportError(QStringLiteral("Chyba v datech. Data k zákazníkovi nebyla nalezena."));
            return;
        }
        const auto text = [&](const char* name) {
            return query->FieldByName(QString::fromLatin1(name)).AsString();
        };
        const auto time = [&](const char* name) {
            return TimestampText(query->FieldByName(QString::fromLatin1(name)).AsDateTime());
        };
        EKodZak->setText(text("KOD_ZAK"));
        EEANKod->setText(text("EAN_KOD"));
        ETitulPred->setText(text("TITUL_PRED"));
        EJmeno->setText(text("JMENO"));
        EPrijmeni->setText(text("PRIJMENI"));
        ETitulZa->setText(text("TITUL_ZA"));
        EAdrUlice->setText(text("ADR_ULICE"));
        EAdrPSC->setText(text("ADR_PSC"));
        EAdrObec->setText(text("ADR_OBEC"));
        ECisloOP->setText(text("CISLO_OP"));
        EEmail->setText(text("EMAIL"));
        ETelefon->setText(text("TELEFON"));
        EMobilSMS->setText(text("MOBIL_SMS"));
        ChPosilatNovinky->setChecked(text("POSILAT_NOVINKY") == QStringLiteral("A"));
        ChVIP->setChecked(text("VIP") == QStringLiteral("A"));
        ECenaVIPDVD->setValue(query->FieldByName(QStringLiteral("CENA_VIP_DVD")).AsFloat());
        ECenaVIPVHS->setValue(query->FieldByName(QStringLiteral("CENA_VIP_VHS")).AsFloat());
        MPoznamky->setPlainText(text("POZNAMKY"));
        ImageFoto->SetPicture(PictureFromBlob(query->FieldByName(QStringLiteral("FOTO")).AsBytes()));
        EDRegistrace->setText(time("D_REGISTRACE"));
        EUzivReg->setText(text("UZIV_REG_R"));
        EDZmeny->setText(time("D_ZMENY"));
        EUzivZmena->setText(text("UZIV_REG_Z"));
        EDUkonceni->setText(time("D_UKONCENI"));
        EUzivUkoncil->setText(text("UZIV_REG_U"));
        ChVyradit->setChecked(false);
        ended = !query->FieldByName(QStringLiteral("D_UKONCENI")).IsNull();
    }
    foto_ = {};
    loaded_ = ReadFields();
    ShowEnded(ended);
    SetMode(TMode::View);
    BPujcit->setEnabled(true);
    BStatistika->setEnabled(true);
    BZmenit->setEnabled(!ended);
    BTiskPrukazky->setEnabled(!ended);
    BUlozit->setEnabled(false);
    if (BZmenit->isEnabled())
        BZmenit->setFocus();
    trDesk_.Commit();
}

void TFZakaznici::Zmenit() {
    SetMode(TMode::Edit);
    ETitulPred->setFocus();
    BZmenit->setEnabled(false);
    BUlozit->setEnabled(false);
}

void TFZakaznici::VipClicked() {
    if (ChVIP->isChecked()) {
        if (ECenaVIPDVD->value() == 0)
            ECenaVIPDVD->setValue(ctx_.SpecCena().GetCenaVipDvd());
        if (ECenaVIPVHS->value() == 0)
            ECenaVIPVHS->setValue(ctx_.SpecCena().GetCenaVipVhs());
    }
    UpdateVipEditable();
    SetChanged();
}

void TFZakaznici::NovyZakaznik() {
    if (!CanLeave())
        return;
    CloseSearch();
    key_ = -1;
    ClearFields();
    EKodZak->setText(QStringLiteral("0"));
    ShowEnded(false);
    SetMode(TMode::Edit);
    ETitulPred->setFocus();
    for (TMoxButton* button : {BPujcit, BZmenit, BTiskPrukazky, BStatistika, BUlozit})
        button->setEnabled(false);
}

void TFZakaznici::NacistFoto() {
    QFileDialog volba(this, JpegOpenCaption(), ctx_.PictureFolder, JpegFileFilter());
    volba.setObjectName(QStringLiteral("OpenPictureDialog"));
    volba.setFileMode(QFileDialog::ExistingFile);
    volba.setOption(QFileDialog::DontUseNativeDialog);
    if (ExecModal(volba) != QDialog::Accepted || volba.selectedFiles().isEmpty())
        return;
    const QString path = volba.selectedFiles().constFirst();
    ImageFoto->SetPicture(LoadPictureFile(path));
    ctx_.PictureFolder = QFileInfo(path).absolutePath();
    foto_ = {path, true};
    SetChanged();
}

void TFZakaznici::ZiskatFoto() {
    TFZiskaniObr ziskani(this);
    if (ExecModal(ziskani) != QDialog::Accepted || !ziskani.HasPicture())
        return;
    ImageFoto->SetPicture(LoadPictureFile(ziskani.ResultPath()));
    foto_ = {ziskani.ResultPath(), true};
    SetChanged();
}

void TFZakaznici::SmazatFoto() {
    ImageFoto->Clear();
    foto_ = {QString(), true};
    SetChanged();
}

void TFZakaznici::NahledFoto() {
    TFNahledObrazku nahled(this);
    nahled.SetCaption(JmenoPrijmeni());
    nahled.SetPicture(ImageFoto->Picture());
    ExecModal(nahled);
}

void TFZakaznici::RollbackQuietly() {
    if (!trDesk_.Active())
        return;
    try {
        trDesk_.Rollback();
    } catch (const std::exception&) {
        // The save's own failure is the one the clerk needs to see.
    }
}

bool TFZakaznici::Ulozit() {
    if (EJmeno->isEnabled() && EJmeno->text().isEmpty()) {
        Warn(QStringLiteral("Není zadáno jméno. Data nelze uložit."));
        EJmeno->setFocus();
        return false;
    }
    if (EPrijmeni->isEnabled() && EPrijmeni->text().isEmpty()) {
        Warn(QStringLiteral("Není zadáno příjmení. Data nelze uložit."));
        EPrijmeni->setFocus();
        return false;
    }
    const bool ending = !ChVyradit->isHidden() && ChVyradit->isEnabled() && ChVyradit->isChecked();
    if (ending && Ask(QStringLiteral("Opravdu vyřadit zákazníka?")) != TMsgResult::Yes) {
        ChVyradit->setFocus();
        return false;
    }
    const TCustomerSave save{key_, ctx_.CurrentUser.KodUziv, ReadFields(), loaded_, ending, foto_};
    TSavedCustomer saved;
    try {
        // Leaving this block hides the wait box before the failure is shown.
        TWaitBox wait(QStringLiteral("Ukládám zákazníka..."));
        if (trDesk_.Active())
            trDesk_.Commit();
        trDesk_.StartTransaction();
        saved = SaveCustomer(ctx_.Db(), trDesk_, save);
        trDesk_.Commit();
    } catch (const std::exception& failure) {
        RollbackQuietly();
        // The desk keeps its key and card code: a customer never stored stays new (-1), so the
        // next save takes a fresh key and code, and the clerk's input stays for the retry.
        ReportFailure(failure);
        BUlozit->setEnabled(true);
        return false;
    }
    key_ = saved.key;
    foto_ = {};
    LoadCustomer();
    return true;
}

void TFZakaznici::PujcitVraceni() {
    if (!CanLeave())
        return;
    BUlozit->setEnabled(false);
    if (ctx_.Requests)
        ctx_.Requests->RequestLending(key_);
}

void TFZakaznici::Statistika() {
    TFZakHistorie historie(ctx_, this);
    historie.SetJmeno(JmenoPrijmeni());
    historie.Open(key_);
}

void TFZakaznici::Odeslat() {
    TFZakOdeslat odeslat(ctx_, this);
    odeslat.SetZakaznik(JmenoPrijmeni(), key_);
    ExecModal(odeslat);
}

void TFZakaznici::TiskPrukazky() {
    // Saving on the way may have ended the customer, who gets no card then.
    if (!CanLeave() || !BTiskPrukazky->isEnabled())
        return;
    TFZakPrukaz prukaz({EEANKod->text(), ctx_.Pobocka().GetWeb(), ctx_.Pobocka().GetJmeno()}, this);
    ExecModal(prukaz);
}
