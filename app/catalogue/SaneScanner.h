#pragma once

#include "DbError.h"

#include <QImage>
#include <QString>

#include <vector>

// The platform's scanner service on Linux: SANE. It offers the two operations the picture
// acquisition needs, choosing a source and acquiring one image from it.

class EScannerError final : public ECinemonError {
public:
    using ECinemonError::ECinemonError;
    QString TypeName() const override { return QStringLiteral("EScannerError"); }
};

struct TScanSource {
    QString name;        // what sane_open takes, for example "test:0"
    QString description; // vendor, model and type for the choice
};

// One use of the SANE library: initialised on construction, ended on destruction.
class TSaneSession final {
public:
    TSaneSession();
    ~TSaneSession();
    TSaneSession(const TSaneSession&) = delete;
    TSaneSession& operator=(const TSaneSession&) = delete;

    std::vector<TScanSource> Sources();
    // Scans one image from the source (the first source when the name is empty). A scan the
    // device cancels gives an empty image; failures throw EScannerError.
    QImage Acquire(const QString& source);
};

// The source the clerk chose last; later acquisitions use it. Empty: the first one found.
QString ChosenScanSource();
void SetChosenScanSource(const QString& source);
