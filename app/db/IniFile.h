#pragma once

#include <QString>

#include <utility>
#include <vector>

// A Windows-style initialisation file ("[Section]", "Key=Value"). The setup program and
// older installations write it in Windows-1250, so bytes that are not UTF-8 are read as that.
// Keys and sections compare without regard to case; unknown lines survive a rewrite.
class TIniFile final {
public:
    explicit TIniFile(QString fileName);

    const QString& FileName() const { return fileName_; }
    bool Exists() const;

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    // Booleans are stored as 1 and 0; any non-zero integer reads as true.
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);

    // Writes the file back in Windows-1250 with CR LF line ends; fails with a message.
    void UpdateFile() const;

private:
    struct TSection {
        QString name;
        std::vector<std::pair<QString, QString>> entries;
    };
    const TSection* FindSection(const QString& name) const;

    QString fileName_;
    std::vector<TSection> sections_;
};
