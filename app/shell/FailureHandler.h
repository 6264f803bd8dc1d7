#pragma once

#include "FailureReport.h"

#include <QApplication>

// The application object of the program: any failure that reaches the event loop is reported
// instead of ending the program.
class TCinemonApplication final : public QApplication {
    Q_OBJECT
public:
    TCinemonApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    Q_DISABLE_COPY_MOVE(TCinemonApplication)

    bool notify(QObject* receiver, QEvent* event) override;
};
