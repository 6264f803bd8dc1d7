#pragma once

#include <QString>

#include <vector>

// A Windows-style initialisation file ("[Section]", "Key=Value"). Keys and sections compare
// without regard to case. A rewrite keeps every line of the file as it was (comments, blank
// lines, lines and keys it does not know); only the values written change, and new keys and
// sections are added at the end of their section or of the file.
//
// Bytes on disk: the setup program and older installations write Windows-1250, and Windows
// programs read the file that way, so it is written in Windows-1250 whenever every character
// fits. A file holding a character Windows-1250 cannot hold is written as UTF-8 with a
// byte-order mark instead; the mark is read first, so no value ever turns into '?'. A file
// without the mark is read as UTF-8 when it is valid UTF-8 and as Windows-1250 otherwise.
// Windows-1250 text that would pass for UTF-8 is written with the mark as well.
class TIniFile final {
public:
    explicit TIniFile(QString fileName);

    const QString& FileName() const { return fileName_; }
    bool Exists() const;
    // Why a file that is there could not be read (a folder of that name, no permission to
    // read it); empty when it was read or is missing. Such a file reads as empty and is never
    // written over, so that nothing it holds is lost.
    const QString& ReadError() const { return readError_; }

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    // Booleans are stored as 1 and 0; any non-zero integer reads as true.
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;

    // A value holding a line break is refused with a message (ECinemonError).
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);

    // Writes the file back with CR LF line ends; fails with a message, also when the file could
    // not be read.
    void UpdateFile() const;

private:
    struct TLine {
        QString text; // the line as it stands in the file
        QString key;  // empty for anything but a "Key=Value" line
        QString value;
    };
    struct TSection {
        QString name;   // empty for the lines before the first section
        QString header; // the "[Name]" line as it stands
        std::vector<TLine> lines;
    };
    const TSection* FindSection(const QString& name) const;

    QString fileName_;
    QString readError_;
    std::vector<TSection> sections_;
};
