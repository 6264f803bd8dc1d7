#include "SettingsPage.h"

#include "AppContext.h"
#include "DeskSurface.h"
#include "FailureReport.h"
#include "GlobDialog.h"
#include "MoxButton.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>

TSettingsPage::TSettingsPage(TAppContext& context, const char* saveName, QWidget* parent)
    : QWidget(parent), context_(context) {
    BUloz = Named(new TMoxButton(QStringLiteral("Uložit změny"), this), saveName);
    BUloz->setEnabled(false);
    connect(BUloz, &QPushButton::clicked, this, [this] { SaveReported(); });
}

bool TSettingsPage::Dirty() const {
    return BUloz->isEnabled();
}

void TSettingsPage::MarkChanged() {
    if (!Loading())
        BUloz->setEnabled(true);
}

void TSettingsPage::ChooseFolderInto(QLineEdit* field, const QString& caption) {
    const QString start = field->text().isEmpty() ? QCoreApplication::applicationDirPath() : field->text();
    const QString folder = QFileDialog::getExistingDirectory(this, caption, start);
    if (folder.isEmpty())
        return;
    field->setText(QDir::toNativeSeparators(folder));
    MarkChanged();
}

void TSettingsPage::MarkSaved() {
    BUloz->setEnabled(false);
}

bool TSettingsPage::SaveReported() {
    try {
        return Save();
    } catch (...) {
        ReportCurrentException();
        return false;
    }
}

bool TSettingsPage::CanLeavePage() {
    if (!Dirty())
        return true;
    switch (Ask(QStringLiteral("Provedené změny nebyly uloženy. Uložit?"), true)) {
    case TMsgResult::Yes:
        return SaveReported();
    case TMsgResult::No:
        MarkSaved();
        return true;
    default:
        return false;
    }
}
