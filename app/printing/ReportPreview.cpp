#include "ReportPreview.h"

#include "FailureReport.h"
#include "GlobDialog.h"
#include "MoxButton.h"

#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QVBoxLayout>

#include <exception>

TFReportPreview::TFReportPreview(TReportFrame report, QWidget* parent)
    : QDialog(parent), report_(std::move(report)), printer_(QPrinter::HighResolution),
      preview_(new QPrintPreviewWidget(&printer_, this)) {
    setObjectName(QStringLiteral("FReportPreview"));
    setWindowTitle(report_.Title());
    resize(760, 900);
    printer_.setDocName(report_.Title());
    preview_->setObjectName(QStringLiteral("Nahled"));
    connect(preview_, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
        try {
            report_.Print(*printer);
        } catch (const std::exception& failure) {
            ReportFailure(failure);
        }
    });

    auto* tisk = new TMoxButton(QStringLiteral("&Tisk"), this);
    tisk->setObjectName(QStringLiteral("BTisk"));
    auto* zavrit = new TMoxButton(QStringLiteral("Zavřít"), this);
    zavrit->setObjectName(QStringLiteral("BZavrit"));
    connect(tisk, &QPushButton::clicked, this, &TFReportPreview::Tisk);
    connect(zavrit, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(tisk);
    buttons->addWidget(zavrit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(preview_, 1);
    layout->addLayout(buttons);
    preview_->fitToWidth();
}

void TFReportPreview::Tisk() {
    QPrintDialog volba(&printer_, this);
    volba.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange);
    volba.setMinMax(1, report_.PageCount());
    if (ExecModal(volba) != QDialog::Accepted)
        return;
    try {
        report_.Print(printer_);
    } catch (const std::exception& failure) {
        ReportFailure(failure);
    }
}

void ShowReportPreview(TReportFrame report, QWidget* parent) {
    TFReportPreview preview(std::move(report), parent);
    ExecModal(preview);
}
