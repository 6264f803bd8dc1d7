#pragma once

#include <QApplication>

// Reports the exception being handled (call inside a catch block) with the failure handler's
// message; the program goes on.
void ReportCurrentException();

// The application object of the program: any failure that reaches the event loop is reported
// instead of ending the program.
class TCinemonApplication final : public QApplication {
    Q_OBJECT
public:
    TCinemonApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    Q_DISABLE_COPY_MOVE(TCinemonApplication)

    bool notify(QObject* receiver, QEvent* event) override;
};
