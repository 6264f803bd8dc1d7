#include "Filmy.h"

#include "AppContext.h"
#include "DbError.h"
#include "FailureReport.h"
#include "FilmyObrazek.h"
#include "GlobDialog.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxEdit.h"
#include "NahledObrazku.h"
#include "PictureFrame.h"
#include "Pictures.h"
#include "Transaction.h"
#include "ZiskaniObr.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>

QString TFFilmy::ChooseJpeg() {
    QString path;
    if (fileChooser_) {
        path = fileChooser_(this, context_.PictureFolder);
    } else {
        QFileDialog dialog(this, JpegOpenCaption(), context_.PictureFolder, JpegFileFilter());
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        if (ExecModal(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = dialog.selectedFiles().constFirst();
    }
    if (!path.isEmpty())
        context_.PictureFolder = QFileInfo(path).absolutePath();
    return path;
}

QString TFFilmy::Acquire() {
    TFZiskaniObr dialog(this);
    if (ExecModal(dialog) == QDialog::Accepted && dialog.HasPicture())
        return dialog.ResultPath();
    return {};
}

QString TFFilmy::PreviewCaption() const {
    return eNazevCesky_->text() + QStringLiteral(" (") + eNazevOrig_->text() + u')';
}

void TFFilmy::ShowPreview(const QImage& picture) {
    if (picture.isNull())
        return;
    TFNahledObrazku preview(this);
    preview.SetCaption(PreviewCaption());
    preview.SetPicture(picture);
    ExecModal(preview);
}

void TFFilmy::CoverNacist(bool front) {
    SetCoverFile(front, ChooseJpeg());
}

void TFFilmy::CoverZiskat(bool front) {
    SetCoverFile(front, Acquire());
}

void TFFilmy::SetCoverFile(bool front, const QString& path) {
    if (path.isEmpty())
        return;
    QImage picture;
    try {
        picture = LoadPictureFile(path);
    } catch (const ECinemonError& e) {
        // The cover stays as it was.
        ReportFailure(e);
        return;
    }
    (front ? imageObalPred_ : imageObalZadni_)->SetPicture(picture);
    (front ? front_ : back_) = {path, true};
    Modified();
}

void TFFilmy::CoverSmazat(bool front) {
    (front ? imageObalPred_ : imageObalZadni_)->Clear();
    (front ? front_ : back_) = {QString(), true};
    Modified();
}

void TFFilmy::LoadPictures() {
    tableObr_->clear();
    if (key_ != -1) {
        auto query = context_.Db().OpenQuery(*tr_, PicturesSql(key_));
        for (query->Open(); !query->Eof(); query->Next())
            tableObr_->appendRecord({query->Fields(0).AsInteger(), QString(), QStringLiteral("S")});
        query.reset();
        if (tr_->Active())
            tr_->Commit();
    }
    picturesOpen_ = true;
    if (!tableObr_->isEmpty())
        tableObr_->setCurrentRow(0);
    ShowPicture();
    UpdatePictureButtons();
}

void TFFilmy::ClosePictures() {
    tableObr_->clear();
    picturesOpen_ = false;
    ShowPicture();
    UpdatePictureButtons();
}

void TFFilmy::ShowPicture() {
    const int row = tableObr_->currentRow();
    QImage picture;
    bool deleted = false;
    if (picturesOpen_ && row >= 0) {
        const int kodObr = tableObr_->value(row, QStringLiteral("KOD_OBR")).toInt();
        const QString soubor = tableObr_->value(row, QStringLiteral("SOUBOR")).toString();
        if (!soubor.isEmpty()) {
            picture = QImage(soubor);
        } else if (kodObr != -1) {
            auto query = context_.Db().OpenQuery(*tr_, PictureSql(kodObr));
            query->Open();
            if (!query->Eof())
                picture = PictureFromBlob(query->Fields(0).AsBytes());
            query.reset();
            if (tr_->Active())
                tr_->Commit();
            deleted = tableObr_->value(row, QStringLiteral("STAV_OBR")).toString() == QStringLiteral("D");
        }
    }
    imageObrazek_->SetPicture(picture);
    imageObrazek_->SetDeleted(deleted);
}

void TFFilmy::MovePicture(int step) {
    const int next = tableObr_->currentRow() + step;
    if (next < 0 || next >= tableObr_->rowCount()) {
        (step < 0 ? bObrZpet_ : bObrVpred_)->setEnabled(false);
        return;
    }
    tableObr_->setCurrentRow(next);
    ShowPicture();
    UpdatePictureButtons();
}

void TFFilmy::AddPicture(const QString& path) {
    if (path.isEmpty())
        return;
    try {
        LoadPictureFile(path);
    } catch (const ECinemonError& e) {
        ReportFailure(e);
        return;
    }
    const int row =
        tableObr_->insertRecord(std::max(0, tableObr_->currentRow()), {-1, path, QStringLiteral("N")});
    tableObr_->setCurrentRow(row);
    picturesChanged_ = true;
    Modified();
    ShowPicture();
    UpdatePictureButtons();
}

void TFFilmy::ObrazekSmazat() {
    const int row = tableObr_->currentRow();
    if (!picturesOpen_ || row < 0)
        return;
    if (tableObr_->value(row, QStringLiteral("KOD_OBR")).toInt() == -1)
        tableObr_->deleteRecord(row);
    else
        tableObr_->setValue(row, QStringLiteral("STAV_OBR"), QStringLiteral("D"));
    picturesChanged_ = true;
    Modified();
    ShowPicture();
    UpdatePictureButtons();
}

void TFFilmy::UpdatePictureButtons() {
    const int row = tableObr_->currentRow();
    const int count = tableObr_->rowCount();
    lObrPocet_->setText(row < 0 ? QStringLiteral("0 / 0")
                                : QStringLiteral("%1 / %2").arg(row + 1).arg(count));
    const bool shown = mode_ != TMode::Empty;
    bObrZpet_->setEnabled(shown && row > 0);
    bObrVpred_->setEnabled(shown && row >= 0 && row < count - 1);
    const bool edit = mode_ == TMode::Edit;
    bObrZiskat_->setEnabled(edit);
    bObrNacist_->setEnabled(edit);
    bObrSmazat_->setEnabled(edit && picturesOpen_ && count > 0);
}

std::vector<TPictureRow> TFFilmy::PictureRows() const {
    std::vector<TPictureRow> rows;
    for (int i = 0; i < tableObr_->rowCount(); ++i)
        rows.push_back({tableObr_->value(i, QStringLiteral("KOD_OBR")).toInt(),
                        tableObr_->value(i, QStringLiteral("SOUBOR")).toString(),
                        tableObr_->value(i, QStringLiteral("STAV_OBR")).toString().at(0)});
    return rows;
}
