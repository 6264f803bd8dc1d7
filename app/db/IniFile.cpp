#include "IniFile.h"

#include "DbError.h"
#include "Win1250.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>

namespace {

QString DecodeFileText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return Win1250::Decode(bytes);
}

} // namespace

TIniFile::TIniFile(QString fileName) : fileName_(std::move(fileName)) {
    QFile file(fileName_);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QString text = DecodeFileText(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    sections_.push_back({});
    for (QString line : text.split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            sections_.push_back({line.mid(1, line.size() - 2).trimmed(), {}});
            continue;
        }
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        sections_.back().entries.emplace_back(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
}

bool TIniFile::Exists() const {
    return QFile::exists(fileName_);
}

const TIniFile::TSection* TIniFile::FindSection(const QString& name) const {
    for (const auto& section : sections_) {
        if (section.name.compare(name, Qt::CaseInsensitive) == 0)
            return &section;
    }
    return nullptr;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const {
    if (const TSection* s = FindSection(section)) {
        for (const auto& [name, value] : s->entries) {
            if (name.compare(key, Qt::CaseInsensitive) == 0)
                return value;
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
    auto sectionIt = std::find_if(sections_.begin(), sections_.end(), [&](const TSection& s) {
        return !s.name.isEmpty() && s.name.compare(section, Qt::CaseInsensitive) == 0;
    });
    if (sectionIt == sections_.end()) {
        sections_.push_back({section, {}});
        sectionIt = sections_.end() - 1;
    }
    for (auto& [name, existing] : sectionIt->entries) {
        if (name.compare(key, Qt::CaseInsensitive) == 0) {
            existing = value;
            return;
        }
    }
    sectionIt->entries.emplace_back(key, value);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteInteger(section, key, value ? 1 : 0);
}

void TIniFile::UpdateFile() const {
    QString text;
    for (const auto& section : sections_) {
        if (section.name.isEmpty() && section.entries.empty())
            continue;
        if (!section.name.isEmpty())
            text += u'[' + section.name + QStringLiteral("]\r\n");
        for (const auto& [name, value] : section.entries)
            text += name + u'=' + value + QStringLiteral("\r\n");
        text += QStringLiteral("\r\n");
    }
    QSaveFile file(fileName_);
    if (!file.open(QIODevice::WriteOnly) || file.write(Win1250::Encode(text)) < 0 || !file.commit())
        throw ECinemonError(QStringLiteral("Nelze zapsat konfigurační soubor %1.").arg(fileName_));
}
