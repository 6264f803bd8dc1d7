#pragma once

#include "ReportFrame.h"

#include <QDialog>
#include <QPrinter>

class QPrintPreviewWidget;

// A report in a modal print preview; "Tisk" chooses a printer and prints every page.
class TFReportPreview final : public QDialog {
    Q_OBJECT
public:
    explicit TFReportPreview(TReportFrame report, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFReportPreview)

    const TReportFrame& Report() const { return report_; }
    // The printer the report goes to; the printer dialog chooses it.
    QPrinter& Printer() { return printer_; }

private:
    void Tisk();

    TReportFrame report_;
    QPrinter printer_;
    QPrintPreviewWidget* preview_;
};

// Shows the report in its preview until the clerk closes it.
void ShowReportPreview(TReportFrame report, QWidget* parent);
