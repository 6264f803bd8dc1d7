#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <vector>

// What one installation run changed on the disk, so that a run that stops leaves the computer as
// it found it: files the run wrote are put back as they were (or removed when they were new),
// folders it made are removed again when they are empty.
class TInstallUndo final {
public:
    TInstallUndo() = default;
    TInstallUndo(const TInstallUndo&) = delete;
    TInstallUndo& operator=(const TInstallUndo&) = delete;

    // Before the run writes the file: keeps a copy of it, or notes that it was not there. Only the
    // first note of a file counts. Fails with a message when the copy cannot be kept.
    void KeepFile(const QString& path);
    // Before the run makes the folder: notes which of it and its parents are missing.
    void KeepFolder(const QString& folder);
    // Puts everything back, the latest change first.
    void Undo();
    // The files and folders the run made that were not there before, in the order it made them.
    QStringList CreatedFiles() const;
    QStringList CreatedFolders() const;

private:
    struct TChange {
        QString path;
        QString copy; // empty: the file was not there, or a folder the run made
        bool folder = false;
    };
    QTemporaryDir copies_;
    QSet<QString> kept_;
    std::vector<TChange> changes_;
};
