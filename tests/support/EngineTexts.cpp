#include "EngineTexts.h"

#include "FbClient.h"

#include <firebird/Interface.h>
#include <ibase.h>

#include <array>
#include <cstdint>
#include <set>

namespace {

// Stands for each parameter of a message, so that only the engine's own words are left around it.
constexpr char kParameter[] = "\x01";

// Every facility's message numbers, up to a long run of numbers the library does not know.
QStringList WordEveryMessage() {
    std::set<QString> parts;
    if (!FbClient::Load())
        return {};
    Firebird::IMaster* master = FbClient::Master();
    Firebird::IUtil* util = master->getUtilInterface();
    Firebird::IStatus* status = master->getStatus();
    for (intptr_t facility = 0; facility < 32; ++facility) {
        int unknown = 0;
        for (intptr_t number = 0; unknown < 200; ++number) {
            std::array<intptr_t, 2 + 2 * 9 + 1> vector{};
            std::size_t at = 0;
            vector[at++] = isc_arg_gds;
            vector[at++] = 0x14000000 | (facility << 16) | number;
            for (int parameter = 0; parameter < 9; ++parameter) {
                vector[at++] = isc_arg_string;
                vector[at++] = reinterpret_cast<intptr_t>(kParameter);
            }
            vector[at++] = isc_arg_end;
            status->init();
            status->setErrors2(static_cast<unsigned>(at), vector.data());
            char buffer[2048];
            util->formatStatus(buffer, sizeof buffer, status);
            const QString text = QString::fromUtf8(buffer);
            if (text.contains(QStringLiteral("unknown ISC error"))) {
                ++unknown;
                continue;
            }
            unknown = 0;
            for (const QString& part : text.split(QLatin1Char(kParameter[0]))) {
                const QString trimmed = part.trimmed();
                // Short pieces ("file ", "at ") are words of any language.
                if (trimmed.size() >= 12)
                    parts.insert(trimmed);
            }
        }
    }
    status->dispose();
    return {parts.begin(), parts.end()};
}

} // namespace

const QStringList& EngineTextParts() {
    static const QStringList parts = WordEveryMessage();
    return parts;
}

bool HoldsEngineText(const QString& message) {
    for (const QString& part : EngineTextParts())
        if (message.contains(part))
            return true;
    return false;
}
