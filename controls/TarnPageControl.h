#pragma once

#include <QTabWidget>

// The desks' page control. Its tabs draw their captions themselves so that a disabled page
// control greys all captions at once and the active tab's caption sits a little further in.
class TTarnPageControl final : public QTabWidget {
    Q_OBJECT

public:
    explicit TTarnPageControl(QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;
};
