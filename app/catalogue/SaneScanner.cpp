#include "SaneScanner.h"

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <algorithm>
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

// Offered when a device takes any resolution of a range: the usual steps of scanners.
constexpr int kUsualResolutions[] = {50, 75, 100, 150, 200, 300, 400, 600, 1200};

struct TOption {
    SANE_Int index = 0;
    const SANE_Option_Descriptor* descriptor = nullptr;
    explicit operator bool() const { return descriptor != nullptr; }
};

// The settable, active option of that name; empty when the device has none.
TOption FindOption(SANE_Handle handle, const char* name) {
    for (SANE_Int index = 1;; ++index) {
        const SANE_Option_Descriptor* option = sane_get_option_descriptor(handle, index);
        if (!option)
            return {};
        if (option->name && std::strcmp(option->name, name) == 0) {
            if (!SANE_OPTION_IS_ACTIVE(option->cap) || !SANE_OPTION_IS_SETTABLE(option->cap))
                return {};
            return {index, option};
        }
    }
}

bool IsNumber(const TOption& option) {
    return option.descriptor->type == SANE_TYPE_INT || option.descriptor->type == SANE_TYPE_FIXED;
}

double FromWord(const TOption& option, SANE_Word word) {
    return option.descriptor->type == SANE_TYPE_FIXED ? SANE_UNFIX(word) : static_cast<double>(word);
}

SANE_Word ToWord(const TOption& option, double value) {
    return option.descriptor->type == SANE_TYPE_FIXED ? SANE_FIX(value)
                                                      : static_cast<SANE_Word>(qRound(value));
}

double GetNumber(SANE_Handle handle, const TOption& option) {
    std::vector<SANE_Word> value(
        std::max<std::size_t>(1, static_cast<std::size_t>(option.descriptor->size) / sizeof(SANE_Word)));
    const SANE_Status status =
        sane_control_option(handle, option.index, SANE_ACTION_GET_VALUE, value.data(), nullptr);
    if (status != SANE_STATUS_GOOD)
        Fail(QStringLiteral("Nastavení skeneru nelze přečíst"), status);
    return FromWord(option, value.front());
}

QString GetText(SANE_Handle handle, const TOption& option) {
    std::vector<char> value(static_cast<std::size_t>(option.descriptor->size) + 1, '\0');
    const SANE_Status status =
        sane_control_option(handle, option.index, SANE_ACTION_GET_VALUE, value.data(), nullptr);
    if (status != SANE_STATUS_GOOD)
        Fail(QStringLiteral("Nastavení skeneru nelze přečíst"), status);
    return QString::fromLocal8Bit(value.data());
}

void SetNumber(SANE_Handle handle, const TOption& option, double number) {
    SANE_Word value = ToWord(option, number);
    const SANE_Status status =
        sane_control_option(handle, option.index, SANE_ACTION_SET_VALUE, &value, nullptr);
    if (status != SANE_STATUS_GOOD)
        Fail(QStringLiteral("Skener nepřijal nastavení %1").arg(QString::fromLatin1(option.descriptor->name)),
             status);
}

void SetText(SANE_Handle handle, const TOption& option, const QString& text) {
    const QByteArray encoded = text.toLocal8Bit();
    std::vector<char> value(std::max<std::size_t>(static_cast<std::size_t>(option.descriptor->size),
                                                  static_cast<std::size_t>(encoded.size()) + 1),
                            '\0');
    std::memcpy(value.data(), encoded.constData(), static_cast<std::size_t>(encoded.size()));
    const SANE_Status status =
        sane_control_option(handle, option.index, SANE_ACTION_SET_VALUE, value.data(), nullptr);
    if (status != SANE_STATUS_GOOD)
        Fail(QStringLiteral("Skener nepřijal režim ") + text, status);
}

// The lowest and highest value a number option takes.
std::pair<double, double> Limits(SANE_Handle handle, const TOption& option) {
    const SANE_Option_Descriptor& d = *option.descriptor;
    if (d.constraint_type == SANE_CONSTRAINT_RANGE)
        return {FromWord(option, d.constraint.range->min), FromWord(option, d.constraint.range->max)};
    if (d.constraint_type == SANE_CONSTRAINT_WORD_LIST && d.constraint.word_list[0] > 0) {
        double low = FromWord(option, d.constraint.word_list[1]);
        double high = low;
        for (SANE_Word i = 1; i <= d.constraint.word_list[0]; ++i) {
            low = std::min(low, FromWord(option, d.constraint.word_list[i]));
            high = std::max(high, FromWord(option, d.constraint.word_list[i]));
        }
        return {low, high};
    }
    const double current = GetNumber(handle, option);
    return {current, current};
}

std::vector<int> Resolutions(SANE_Handle handle, const TOption& option, int current) {
    const SANE_Option_Descriptor& d = *option.descriptor;
    std::vector<int> values;
    if (d.constraint_type == SANE_CONSTRAINT_WORD_LIST) {
        for (SANE_Word i = 1; i <= d.constraint.word_list[0]; ++i)
            values.push_back(qRound(FromWord(option, d.constraint.word_list[i])));
    } else {
        const auto [low, high] = Limits(handle, option);
        for (int usual : kUsualResolutions)
            if (usual >= low && usual <= high)
                values.push_back(usual);
    }
    if (current > 0)
        values.push_back(current);
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

// The four corner options of the scan area, when the device measures them in millimetres.
struct TAreaOptions {
    TOption left, top, right, bottom;
    bool Present() const {
        for (const TOption* corner : {&left, &top, &right, &bottom})
            if (!*corner || !IsNumber(*corner) || corner->descriptor->unit != SANE_UNIT_MM)
                return false;
        return true;
    }
};

TAreaOptions AreaOptions(SANE_Handle handle) {
    return {FindOption(handle, SANE_NAME_SCAN_TL_X), FindOption(handle, SANE_NAME_SCAN_TL_Y),
            FindOption(handle, SANE_NAME_SCAN_BR_X), FindOption(handle, SANE_NAME_SCAN_BR_Y)};
}

TScanOptions ReadOptions(SANE_Handle handle) {
    TScanOptions options;
    if (const TOption mode = FindOption(handle, SANE_NAME_SCAN_MODE);
        mode && mode.descriptor->type == SANE_TYPE_STRING &&
        mode.descriptor->constraint_type == SANE_CONSTRAINT_STRING_LIST) {
        for (const SANE_String_Const* choice = mode.descriptor->constraint.string_list; *choice; ++choice)
            options.modes.append(QString::fromLocal8Bit(*choice));
        options.mode = GetText(handle, mode);
    }
    if (const TOption resolution = FindOption(handle, SANE_NAME_SCAN_RESOLUTION);
        resolution && IsNumber(resolution)) {
        options.resolution = qRound(GetNumber(handle, resolution));
        options.resolutions = Resolutions(handle, resolution, options.resolution);
    }
    if (const TAreaOptions area = AreaOptions(handle); area.Present()) {
        options.maxArea =
            QRectF(QPointF(Limits(handle, area.left).first, Limits(handle, area.top).first),
                   QPointF(Limits(handle, area.right).second, Limits(handle, area.bottom).second));
        options.area = QRectF(QPointF(GetNumber(handle, area.left), GetNumber(handle, area.top)),
                              QPointF(GetNumber(handle, area.right), GetNumber(handle, area.bottom)));
    }
    return options;
}

// The mode goes first: devices offer other resolutions and areas in other modes.
void ApplySettings(SANE_Handle handle, const TScanSettings& settings) {
    if (!settings.mode.isEmpty())
        if (const TOption mode = FindOption(handle, SANE_NAME_SCAN_MODE);
            mode && mode.descriptor->type == SANE_TYPE_STRING)
            SetText(handle, mode, settings.mode);
    if (settings.resolution > 0)
        if (const TOption resolution = FindOption(handle, SANE_NAME_SCAN_RESOLUTION);
            resolution && IsNumber(resolution))
            SetNumber(handle, resolution, settings.resolution);
    if (!settings.area.isNull()) {
        const TAreaOptions area = AreaOptions(handle);
        if (area.Present()) {
            // The far corner first from the origin, so that no step has the corners crossed.
            SetNumber(handle, area.left, Limits(handle, area.left).first);
            SetNumber(handle, area.top, Limits(handle, area.top).first);
            SetNumber(handle, area.right, settings.area.right());
            SetNumber(handle, area.bottom, settings.area.bottom());
            SetNumber(handle, area.left, settings.area.left());
            SetNumber(handle, area.top, settings.area.top());
        }
    }
}

struct TFrame {
    SANE_Parameters parameters{};
    QByteArray data;
};

bool IsSeparateColour(SANE_Frame format) {
    return format == SANE_FRAME_RED || format == SANE_FRAME_GREEN || format == SANE_FRAME_BLUE;
}

// Reads frames until the last one; false when the device or the clerk cancelled.
bool ReadFrames(SANE_Handle handle, TScanControl& control, std::vector<TFrame>& frames) {
    for (;;) {
        if (control.Cancelled())
            return false;
        SANE_Status status = sane_start(handle);
        if (status == SANE_STATUS_CANCELLED)
            return false;
        if (status != SANE_STATUS_GOOD)
            Fail(QStringLiteral("Skenování nelze zahájit"), status);
        TFrame frame;
        status = sane_get_parameters(handle, &frame.parameters);
        if (status != SANE_STATUS_GOOD)
            Fail(QStringLiteral("Skener nepředal parametry obrázku"), status);
        const SANE_Parameters& p = frame.parameters;
        const int frameCount = IsSeparateColour(p.format) ? 3 : 1;
        const qint64 expected = p.lines > 0 ? static_cast<qint64>(p.bytes_per_line) * p.lines : -1;
        const int done = static_cast<int>(frames.size());
        std::vector<SANE_Byte> buffer(65536);
        for (;;) {
            SANE_Int length = 0;
            status = sane_read(handle, buffer.data(), static_cast<SANE_Int>(buffer.size()), &length);
            if (control.Cancelled() || status == SANE_STATUS_CANCELLED)
                return false;
            if (status == SANE_STATUS_EOF)
                break;
            if (status != SANE_STATUS_GOOD)
                Fail(QStringLiteral("Chyba při čtení ze skeneru"), status);
            frame.data.append(reinterpret_cast<const char*>(buffer.data()), length);
            if (control.onProgress) {
                const qint64 part =
                    expected > 0 ? std::min<qint64>(100, frame.data.size() * 100 / expected) : -1;
                control.onProgress(
                    part < 0 ? -1 : static_cast<int>((done * 100 + part) / std::max(frameCount, done + 1)));
            }
        }
        const bool last = p.last_frame != SANE_FALSE;
        frames.push_back(std::move(frame));
        if (last)
            return true;
    }
}

// One sample of a line as 0..255, whatever the depth.
int Sample(const QByteArray& data, qsizetype lineStart, int index, int depth, SANE_Frame format) {
    const auto byteAt = [&](qsizetype at) { return static_cast<unsigned char>(data.at(lineStart + at)); };
    switch (depth) {
    case 1: {
        // A set bit is black in a grey frame but full intensity in a colour one.
        const bool set = (byteAt(index / 8) & (0x80 >> (index % 8))) != 0;
        return set == (format == SANE_FRAME_GRAY) ? 0 : 255;
    }
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
                        rgb[c] = Sample(frame.data, start, x * 3 + c, p.depth, p.format);
                    break;
                case SANE_FRAME_RED:
                    rgb[0] = Sample(frame.data, start, x, p.depth, p.format);
                    break;
                case SANE_FRAME_GREEN:
                    rgb[1] = Sample(frame.data, start, x, p.depth, p.format);
                    break;
                case SANE_FRAME_BLUE:
                    rgb[2] = Sample(frame.data, start, x, p.depth, p.format);
                    break;
                default:
                    rgb[0] = rgb[1] = rgb[2] = Sample(frame.data, start, x, p.depth, p.format);
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

QString TSaneSession::Resolve(const QString& source) {
    if (!source.isEmpty())
        return source;
    const std::vector<TScanSource> sources = Sources();
    if (sources.empty())
        throw EScannerError(QStringLiteral("Nebyl nalezen žádný skener."));
    return sources.front().name;
}

TScanOptions TSaneSession::Options(const QString& source) {
    TSaneDevice device(Resolve(source));
    return ReadOptions(device.Handle());
}

QImage TSaneSession::Acquire(const QString& source, const TScanSettings& settings, TScanControl& control) {
    TSaneDevice device(Resolve(source));
    ApplySettings(device.Handle(), settings);
    std::vector<TFrame> frames;
    control.Attach(device.Handle());
    bool complete = false;
    try {
        complete = ReadFrames(device.Handle(), control, frames);
    } catch (...) {
        control.Detach();
        throw;
    }
    control.Detach();
    if (!complete || frames.empty())
        return {};
    return Compose(frames);
}

void TScanControl::Cancel() {
    cancelled_ = true;
    // SANE lets any thread cancel a device; a device stuck in a read returns from it.
    const std::lock_guard lock(mutex_);
    if (handle_)
        sane_cancel(handle_);
}

void TScanControl::Attach(void* handle) {
    const std::lock_guard lock(mutex_);
    handle_ = handle;
}

void TScanControl::Detach() {
    const std::lock_guard lock(mutex_);
    handle_ = nullptr;
}

QString ChosenScanSource() {
    return ChosenSource();
}

void SetChosenScanSource(const QString& source) {
    ChosenSource() = source;
}
