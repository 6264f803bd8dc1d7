#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QWidget;

// "O programu": product, version and maker. At start-up it doubles as the splash: no border,
// no OK button, and a wait panel whose status line follows the start-up steps.
class TFAbout final : public QDialog {
    Q_OBJECT
public:
    explicit TFAbout(QWidget* parent = nullptr, bool splash = false);
    Q_DISABLE_COPY_MOVE(TFAbout)

    void SetStatus(const QString& text);

    static QString WebAddress() { return QStringLiteral("www.cinemon.cz"); }
    static QString MailAddress() { return QStringLiteral("info@cinemon.cz"); }

private:
    QLabel* status_ = nullptr;
    QWidget* waitPanel_ = nullptr;
    QPushButton* ok_ = nullptr;
};
