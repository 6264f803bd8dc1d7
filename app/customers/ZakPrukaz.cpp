#include "ZakPrukaz.h"

#include "FailureReport.h"
#include "GlobDialog.h"
#include "MoxButton.h"

#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QVBoxLayout>

#include <exception>

TFZakPrukaz::TFZakPrukaz(const TCustomerCard& card, QWidget* parent)
    : QDialog(parent), card_(card), printer_(QPrinter::HighResolution),
      preview_(new QPrintPreviewWidget(&printer_, this)) {
    setObjectName(QStringLiteral("FZakPrukaz"));
    setWindowTitle(QStringLiteral("Tisk průkazky"));
    resize(640, 420);
    printer_.setPageLayout(CustomerCardPageLayout());
    printer_.setDocName(QStringLiteral("Průkazka ") + card_.cardCode);
    preview_->setObjectName(QStringLiteral("Nahled"));
    connect(preview_, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* printer) { PrintCustomerCard(*printer, card_); });

    auto* tisk = new TMoxButton(QStringLiteral("Tisk"), this);
    tisk->setObjectName(QStringLiteral("BTisk"));
    auto* zavrit = new TMoxButton(QStringLiteral("Zavřít"), this);
    zavrit->setObjectName(QStringLiteral("BZavrit"));
    connect(tisk, &QPushButton::clicked, this, &TFZakPrukaz::Tisk);
    connect(zavrit, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(tisk);
    buttons->addWidget(zavrit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(preview_, 1);
    layout->addLayout(buttons);
    preview_->fitInView();
}

void TFZakPrukaz::Tisk() {
    QPrintDialog volba(&printer_, this);
    volba.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (ExecModal(volba) != QDialog::Accepted)
        return;
    try {
        PrintCustomerCard(printer_, card_);
    } catch (const std::exception& failure) {
        ReportFailure(failure);
    }
}
