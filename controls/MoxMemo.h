#pragma once

#include <QPlainTextEdit>

// A multi-line note field (titles' descriptions, customers' notes) with the state colours of the
// single-line fields.
class TMoxMemo final : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TMoxMemo(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void updateColors();
};
