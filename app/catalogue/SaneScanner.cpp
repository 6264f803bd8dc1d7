#include "SaneScanner.h"

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <cstring>

namespace {

QString StatusText(SANE_Status status) {
    return QString::fromLocal8Bit(sane_strstatus(status));
}

[[noreturn]] void Fail(const QString& what, SANE_Status status) {
    throw EScannerError(what + QStringLiteral(": ") + StatusText(status));
}

// An open device; closed, with any scan in progress cancelled, on every way out.
class TSaneDevice final {
public:
    explicit TSaneDevice(const QString& name) {
        const QByteArray encoded = name.toLocal8Bit();
        const SANE_Status status = sane_open(encoded.constData(), &handle_);
        if (status != SANE_STATUS_GOOD)
            Fail(QStringLiteral("Skener ") + name + QStringLiteral(" nelze otevřít"), status);
    }
    ~TSaneDevice() {
        sane_cancel(handle_);
        sane_close(handle_);
    }
    TSaneDevice(const TSaneDevice&) = delete;
    TSaneDevice& operator=(const TSaneDevice&) = delete;

    SANE_Handle Handle() const { return handle_; }

private:
    SANE_Handle handle_ = nullptr;
};

QString& ChosenSource() {
    static QString source;
    return source;
}

// Photos and covers want colour at a resolution that fits the screen; a device that cannot
// take these keeps its own settings.
constexpr int kResolutionDpi = 100;

void SetOption(SANE_Handle handle, SANE_Int index, void* value) {
    SANE_Int info = 0;
    sane_control_option(handle, index, SANE_ACTION_SET_VALUE, value, &info);
}

void PrepareDevice(SANE_Handle handle) {
    for (SANE_Int index = 1;; ++index) {
        const SANE_Option_Descriptor* option = sane_get_option_descriptor(handle, index);
        if (!option)
            return;
        if (!option->name || !SANE_OPTION_IS_ACTIVE(option->cap) || !SANE_OPTION_IS_SETTABLE(option->cap))
            continue;
        if (std::strcmp(option->name, SANE_NAME_SCAN_RESOLUTION) == 0) {
            if (option->type == SANE_TYPE_FIXED) {
                SANE_Word value = SANE_FIX(kResolutionDpi);
                SetOption(handle, index, &value);
            } else if (option->type == SANE_TYPE_INT) {
                SANE_Word value = kResolutionDpi;
                SetOption(handle, index, &value);
            }
        } else if (std::strcmp(option->name, SANE_NAME_SCAN_MODE) == 0 && option->type == SANE_TYPE_STRING &&
                   option->constraint_type == SANE_CONSTRAINT_STRING_LIST) {
            for (const SANE_String_Const* mode = option->constraint.string_list; *mode; ++mode) {
                if (std::strcmp(*mode, SANE_VALUE_SCAN_MODE_COLOR) == 0) {
                    std::vector<char> value(static_cast<std::size_t>(option->size) + 1, '\0');
                    std::strncpy(value.data(), *mode, value.size() - 1);
                    SetOption(handle, index, value.data());
                    break;
                }
            }
        }
    }
}

struct TFrame {
    SANE_Parameters parameters{};
    QByteArray data;
};

// Reads frames until the last one; false when the device cancelled.
bool ReadFrames(SANE_Handle handle, std::vector<TFrame>& frames) {
    for (;;) {
        SANE_Status status = sane_start(handle);
        if (status == SANE_STATUS_CANCELLED)
            return false;
        if (status != SANE_STATUS_GOOD)
            Fail(QStringLiteral("Skenování nelze zahájit"), status);
        TFrame frame;
        status = sane_get_parameters(handle, &frame.parameters);
        if (status != SANE_STATUS_GOOD)
            Fail(QStringLiteral("Skener nepředal parametry obrázku"), status);
        std::vector<SANE_Byte> buffer(65536);
        for (;;) {
            SANE_Int length = 0;
            status = sane_read(handle, buffer.data(), static_cast<SANE_Int>(buffer.size()), &length);
            if (status == SANE_STATUS_EOF)
                break;
            if (status == SANE_STATUS_CANCELLED)
                return false;
            if (status != SANE_STATUS_GOOD)
                Fail(QStringLiteral("Chyba při čtení ze skeneru"), status);
            frame.data.append(reinterpret_cast<const char*>(buffer.data()), length);
        }
        const bool last = frame.parameters.last_frame != SANE_FALSE;
        frames.push_back(std::move(frame));
        if (last)
            return true;
    }
}

// One sample of a line as 0..255, whatever the depth.
int Sample(const QByteArray& data, qsizetype lineStart, int index, int depth) {
    const auto byteAt = [&](qsizetype at) { return static_cast<unsigned char>(data.at(lineStart + at)); };
    switch (depth) {
    case 1:
        // Line art: a set bit is black.
        return (byteAt(index / 8) & (0x80 >> (index % 8))) ? 0 : 255;
    case 16:
        return byteAt(index * 2 + (QSysInfo::ByteOrder == QSysInfo::LittleEndian ? 1 : 0));
    default:
        return byteAt(index);
    }
}

QImage Compose(const std::vector<TFrame>& frames) {
    const SANE_Parameters& first = frames.front().parameters;
    const int width = first.pixels_per_line;
    const int bytesPerLine = first.bytes_per_line;
    if (width <= 0 || bytesPerLine <= 0)
        throw EScannerError(QStringLiteral("Skener předal prázdný obrázek."));
    const int height = static_cast<int>(frames.front().data.size() / bytesPerLine);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            int rgb[3] = {0, 0, 0};
            for (const TFrame& frame : frames) {
                const SANE_Parameters& p = frame.parameters;
                const qsizetype start = static_cast<qsizetype>(y) * p.bytes_per_line;
                if (start + p.bytes_per_line > frame.data.size())
                    continue;
                switch (p.format) {
                case SANE_FRAME_RGB:
                    for (int c = 0; c < 3; ++c)
                        rgb[c] = Sample(frame.data, start, x * 3 + c, p.depth);
                    break;
                case SANE_FRAME_RED:
                    rgb[0] = Sample(frame.data, start, x, p.depth);
                    break;
                case SANE_FRAME_GREEN:
                    rgb[1] = Sample(frame.data, start, x, p.depth);
                    break;
                case SANE_FRAME_BLUE:
                    rgb[2] = Sample(frame.data, start, x, p.depth);
                    break;
                default:
                    rgb[0] = rgb[1] = rgb[2] = Sample(frame.data, start, x, p.depth);
                    break;
                }
            }
            line[x] = qRgb(rgb[0], rgb[1], rgb[2]);
        }
    }
    return image;
}

} // namespace

TSaneSession::TSaneSession() {
    SANE_Int version = 0;
    const SANE_Status status = sane_init(&version, nullptr);
    if (status != SANE_STATUS_GOOD)
        Fail(QStringLiteral("Knihovnu SANE nelze spustit"), status);
}

TSaneSession::~TSaneSession() {
    sane_exit();
}

std::vector<TScanSource> TSaneSession::Sources() {
    const SANE_Device** devices = nullptr;
    const SANE_Status status = sane_get_devices(&devices, SANE_FALSE);
    if (status != SANE_STATUS_GOOD)
        Fail(QStringLiteral("Seznam skenerů nelze získat"), status);
    std::vector<TScanSource> sources;
    for (const SANE_Device** device = devices; device && *device; ++device) {
        sources.push_back(
            {QString::fromLocal8Bit((*device)->name),
             QStringLiteral("%1 %2 (%3)")
                 .arg(QString::fromLocal8Bit((*device)->vendor), QString::fromLocal8Bit((*device)->model),
                      QString::fromLocal8Bit((*device)->type))});
    }
    return sources;
}

QImage TSaneSession::Acquire(const QString& source) {
    QString name = source;
    if (name.isEmpty()) {
        const std::vector<TScanSource> sources = Sources();
        if (sources.empty())
            throw EScannerError(QStringLiteral("Nebyl nalezen žádný skener."));
        name = sources.front().name;
    }
    TSaneDevice device(name);
    PrepareDevice(device.Handle());
    std::vector<TFrame> frames;
    if (!ReadFrames(device.Handle(), frames) || frames.empty())
        return {};
    return Compose(frames);
}

QString ChosenScanSource() {
    return ChosenSource();
}

void SetChosenScanSource(const QString& source) {
    ChosenSource() = source;
}
