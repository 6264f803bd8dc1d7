#pragma once

#include "NosicStitek.h"

#include <QDialog>
#include <QWidget>

class QPrinter;
class TMoxButton;

// The label drawn as it will be printed, at a fixed zoom.
class TNosicStitekNahled final : public QWidget {
    Q_OBJECT
public:
    explicit TNosicStitekNahled(const TLabelLayout& layout, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TNosicStitekNahled)

    void SetLabel(const TLabelContent& content);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr double kZoom = 5; // pixels per millimetre
    const TLabelLayout& layout_;
    TLabelContent content_;
};

// What the VHS and the DVD label dialogs share: the preview, "Tisk" and "Zavřít".
class TNosicStitekForm : public QDialog {
    Q_OBJECT
public:
    Q_DISABLE_COPY_MOVE(TNosicStitekForm)

    void SetTitleText(const QString& text);
    // Throws EBarcodeError for a code that is not all digits.
    void SetCode(const QString& code);
    const QString& TitleText() const { return content_.text; }
    // Empty until a code is set.
    QString Code() const { return content_.code.value_or(QString()); }

    // "Tisk": the printer dialog, then one label on the printer it confirmed.
    void Print();
    void PrintTo(QPrinter& printer) const;

protected:
    TNosicStitekForm(const TLabelLayout& layout, QWidget* parent);

private:
    const TLabelLayout& layout_;
    TLabelContent content_;
    TNosicStitekNahled* nahled_;
};
