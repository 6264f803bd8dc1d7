#include "FailureReport.h"

#include "DbError.h"
#include "GlobDialog.h"
#include "Till.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace {

QString Demangled(const std::type_info& type) {
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> name(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), &std::free);
    return QString::fromLatin1(status == 0 && name ? name.get() : type.name());
}

} // namespace

void ReportFailure(const std::exception& failure) {
    const auto* database = dynamic_cast<const EDatabaseError*>(&failure);
    if (const auto* refused = dynamic_cast<const ERefusedInput*>(&failure))
        Warn(refused->Message());
    else if (const auto* device = dynamic_cast<const EDeviceFailure*>(&failure))
        Warn(device->Message());
    // A close running at another counter: the clerk only has to try again in a moment.
    else if (const auto* busy = dynamic_cast<const ETillBusy*>(&failure))
        Warn(busy->Message());
    // A server restart, a broken network or a full disk is no fault of the program: the clerk
    // reads what happened and what to do, not a report of an exception.
    else if (database && (database->ConnectionLost() || database->StorageFailed()))
        ReportError(database->Message());
    else if (const auto* own = dynamic_cast<const ECinemonError*>(&failure))
        ReportError(FailureText(own->TypeName(), own->Message()));
    else
        ReportError(FailureText(Demangled(typeid(failure)), QString::fromLocal8Bit(failure.what())));
}

void ReportCurrentException() {
    try {
        throw;
    } catch (const std::exception& e) {
        ReportFailure(e);
    } catch (...) {
        ReportError(FailureText(QStringLiteral("neznámá"), QString()));
    }
}
