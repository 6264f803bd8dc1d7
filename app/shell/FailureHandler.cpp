#include "FailureHandler.h"

#include "DbError.h"
#include "GlobDialog.h"
#include "ShellRules.h"

#include <cxxabi.h>

#include <cstdlib>
#include <exception>
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

void ReportCurrentException() {
    try {
        throw;
    } catch (const ECinemonError& e) {
        ReportError(FailureText(e.TypeName(), e.Message()));
    } catch (const std::exception& e) {
        ReportError(FailureText(Demangled(typeid(e)), QString::fromLocal8Bit(e.what())));
    } catch (...) {
        ReportError(FailureText(QStringLiteral("neznámá"), QString()));
    }
}

bool TCinemonApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportCurrentException();
    }
    return false;
}
