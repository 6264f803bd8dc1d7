#include "WorkerWait.h"

#include "GlobDialog.h"

#include <QEventLoop>
#include <QThread>

#include <exception>
#include <memory>

void RunWithWaitBox(const QString& text, const std::function<void()>& work) {
    std::exception_ptr failure;
    {
        TWaitBox wait(text);
        QEventLoop loop;
        const std::unique_ptr<QThread> worker(QThread::create([&work, &failure] {
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
        }));
        // Queued to this thread: the end of a quick work is seen once the loop runs.
        QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
        worker->start();
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        worker->wait();
    }
    if (failure)
        std::rethrow_exception(failure);
}
