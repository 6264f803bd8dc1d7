#include "IniFile.h"

#include "DbError.h"
#include "Win1250.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace {

const QByteArray kUtf8Mark("\xEF\xBB\xBF");

std::optional<QString> AsUtf8(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

QString DecodeFileText(const QByteArray& bytes) {
    if (bytes.startsWith(kUtf8Mark))
        return QString::fromUtf8(bytes.mid(kUtf8Mark.size()));
    if (const auto text = AsUtf8(bytes))
        return *text;
    return Win1250::Decode(bytes);
}

QByteArray EncodeFileText(const QString& text) {
    if (!Win1250::FirstUnencodable(text)) {
        const QByteArray bytes = Win1250::Encode(text);
        // Plain ASCII reads back the same either way; other Windows-1250 bytes must not be
        // taken for UTF-8 when read again.
        const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
        if (ascii || !AsUtf8(bytes))
            return bytes;
    }
    return kUtf8Mark + text.toUtf8();
}

// Windows strips one pair of quotation marks around a value; blanks at either end survive
// only inside them.
QString ValueFromFile(const QString& raw) {
    const QString value = raw.trimmed();
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        return value.mid(1, value.size() - 2);
    return value;
}

QString ValueToFile(const QString& value) {
    if (value != value.trimmed() || (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"')))
        return u'"' + value + u'"';
    return value;
}

} // namespace

TIniFile::TIniFile(QString fileName) : fileName_(std::move(fileName)) {
    sections_.push_back({});
    QFile file(fileName_);
    if (!file.exists())
        return;
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        readError_ =
            QStringLiteral("Konfigurační soubor %1 nelze přečíst: %2").arg(fileName_, file.errorString());
        return;
    }
    QString text = DecodeFileText(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    // Binary zeros are no part of any setting: a file the system left full of them after a
    // power cut reads as empty, and is written back without them.
    text.remove(QChar(0));
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast(); // the line end of the last line
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
            sections_.push_back({trimmed.mid(1, trimmed.size() - 2).trimmed(), line, {}});
            continue;
        }
        TLine entry{line, {}, {}};
        const qsizetype eq = trimmed.indexOf(u'=');
        if (!trimmed.startsWith(u';') && eq > 0) {
            entry.key = trimmed.left(eq).trimmed();
            entry.value = ValueFromFile(trimmed.mid(eq + 1));
        }
        sections_.back().lines.push_back(std::move(entry));
    }
}

bool TIniFile::Exists() const {
    return QFile::exists(fileName_);
}

const TIniFile::TSection* TIniFile::FindSection(const QString& name) const {
    for (const auto& section : sections_) {
        if (!section.header.isEmpty() && section.name.compare(name, Qt::CaseInsensitive) == 0)
            return &section;
    }
    return nullptr;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const {
    if (const TSection* s = FindSection(section)) {
        for (const TLine& line : s->lines) {
            if (!line.key.isEmpty() && line.key.compare(key, Qt::CaseInsensitive) == 0)
                return line.value;
        }
    }
    return defaultValue;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const {
    bool ok = false;
    const int value = ReadString(section, key, QString()).toInt(&ok);
    return ok ? value : defaultValue;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    // A line break would end the value and leave the rest as a line of its own: the file would
    // read back something else. Refused before anything changes.
    if (value.contains(u'\r') || value.contains(u'\n'))
        throw ECinemonError(QStringLiteral("Text obsahuje konec řádku, který konfigurační soubor neumí "
                                           "uložit.\rZměňte prosím zadaný text."));
    // A binary zero is what a power cut leaves in a file, and reading drops it.
    if (value.contains(QChar(u'\0')))
        throw ECinemonError(QStringLiteral("Text obsahuje nulový znak, který konfigurační soubor neumí "
                                           "uložit.\rZměňte prosím zadaný text."));
    auto sectionIt = std::find_if(sections_.begin(), sections_.end(), [&](const TSection& s) {
        return !s.header.isEmpty() && s.name.compare(section, Qt::CaseInsensitive) == 0;
    });
    if (sectionIt == sections_.end()) {
        // A blank line between the sections, as the file's own writers leave it.
        TSection& last = sections_.back();
        if (!last.lines.empty() ? !last.lines.back().text.trimmed().isEmpty() : !last.header.isEmpty())
            last.lines.push_back({});
        sections_.push_back({section, u'[' + section + u']', {}});
        sectionIt = sections_.end() - 1;
    }
    std::vector<TLine>& lines = sectionIt->lines;
    for (TLine& line : lines) {
        if (!line.key.isEmpty() && line.key.compare(key, Qt::CaseInsensitive) == 0) {
            if (line.value != value) {
                line.value = value;
                line.text = line.key + u'=' + ValueToFile(value);
            }
            return;
        }
    }
    // After the section's last line that is not blank, so the blank line before the next
    // section stays where it was.
    auto at = lines.end();
    while (at != lines.begin() && (at - 1)->text.trimmed().isEmpty())
        --at;
    lines.insert(at, TLine{key + u'=' + ValueToFile(value), key, value});
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteInteger(section, key, value ? 1 : 0);
}

void TIniFile::UpdateFile() const {
    if (!readError_.isEmpty())
        throw ECinemonError(readError_ + QStringLiteral("\rNastavení nebylo uloženo."));
    QString text;
    for (const auto& section : sections_) {
        if (!section.header.isEmpty())
            text += section.header + QStringLiteral("\r\n");
        for (const TLine& line : section.lines)
            text += line.text + QStringLiteral("\r\n");
    }
    QSaveFile file(fileName_);
    if (!file.open(QIODevice::WriteOnly) || file.write(EncodeFileText(text)) < 0 || !file.commit())
        throw ECinemonError(QStringLiteral("Nelze zapsat konfigurační soubor %1.").arg(fileName_));
}
