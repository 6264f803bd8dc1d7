#pragma once

#include "DbError.h"

#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

// The platform's scanner service on Linux: SANE. It offers what the picture acquisition needs:
// choosing a source, the source's settings, and acquiring one image from it.

class EScannerError final : public ECinemonError {
public:
    using ECinemonError::ECinemonError;
    QString TypeName() const override { return QStringLiteral("EScannerError"); }
};

struct TScanSource {
    QString name;        // what sane_open takes, for example "test:0"
    QString description; // vendor, model and type for the choice
};

// What a device lets the clerk set, as its own settings dialog would. Empty lists and a null
// area mean the device does not offer that setting.
struct TScanOptions {
    std::vector<int> resolutions; // dpi, ascending
    int resolution = 0;           // the device's current one
    QStringList modes;
    QString mode;
    QRectF maxArea; // millimetres
    QRectF area;
};

// The clerk's choice for one scan; what is empty or null stays as the device has it.
struct TScanSettings {
    int resolution = 0;
    QString mode;
    QRectF area;
};

// Shared between the thread that scans and the one that watches: progress and cancellation.
class TScanControl final {
public:
    // Stops the scan in progress (or the next one); safe from any thread.
    void Cancel();
    bool Cancelled() const { return cancelled_; }

    // Called on the scanning thread with 0..100; -1 while the size of the scan is unknown.
    std::function<void(int)> onProgress;

private:
    friend class TSaneSession;
    void Attach(void* handle);
    void Detach();

    std::atomic<bool> cancelled_{false};
    std::mutex mutex_;
    void* handle_ = nullptr;
};

// One use of the SANE library: initialised on construction, ended on destruction. A session
// belongs to one thread at a time.
class TSaneSession final {
public:
    TSaneSession();
    ~TSaneSession();
    TSaneSession(const TSaneSession&) = delete;
    TSaneSession& operator=(const TSaneSession&) = delete;

    std::vector<TScanSource> Sources();
    // The settings the source offers (the first source when the name is empty).
    TScanOptions Options(const QString& source);
    // Scans one image from the source with the settings. A scan cancelled by the device or
    // through the control gives an empty image; failures throw EScannerError.
    QImage Acquire(const QString& source, const TScanSettings& settings, TScanControl& control);

private:
    QString Resolve(const QString& source);
};

// The source the clerk chose last; later acquisitions use it. Empty: the first one found.
QString ChosenScanSource();
void SetChosenScanSource(const QString& source);
