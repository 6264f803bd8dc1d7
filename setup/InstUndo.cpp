#include "InstUndo.h"

#include "DbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void TInstallUndo::KeepFile(const QString& path) {
    const QString file = QFileInfo(path).absoluteFilePath();
    if (kept_.contains(file))
        return;
    kept_.insert(file);
    // Something else in the file's place is never written over: nothing to keep.
    if (QFileInfo::exists(file) && !QFileInfo(file).isFile())
        return;
    KeepFolder(QFileInfo(file).absolutePath());
    TChange change{file, {}, false};
    if (QFileInfo::exists(file)) {
        change.copy = copies_.filePath(QString::number(changes_.size()));
        if (!copies_.isValid() || !QFile::copy(file, change.copy))
            throw ECinemonError(QStringLiteral("Soubor %1 nelze zálohovat před instalací.").arg(file));
    }
    changes_.push_back(change);
}

void TInstallUndo::KeepFolder(const QString& folder) {
    QStringList missing;
    QString current = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    while (!QFileInfo::exists(current)) {
        missing.prepend(current);
        const QString parent = QFileInfo(current).path();
        if (parent == current)
            break;
        current = parent;
    }
    // Made from the top down, so removed from the bottom up.
    for (const QString& made : missing) {
        if (!kept_.contains(made)) {
            kept_.insert(made);
            changes_.push_back({made, {}, true});
        }
    }
}

void TInstallUndo::Undo() {
    for (auto it = changes_.rbegin(); it != changes_.rend(); ++it) {
        if (it->folder) {
            QDir().rmdir(it->path);
            continue;
        }
        QFile::remove(it->path);
        if (!it->copy.isEmpty())
            QFile::copy(it->copy, it->path);
    }
    changes_.clear();
    kept_.clear();
}

QStringList TInstallUndo::CreatedFiles() const {
    QStringList files;
    for (const TChange& change : changes_) {
        if (!change.folder && change.copy.isEmpty() && QFileInfo(change.path).isFile())
            files << change.path;
    }
    return files;
}

QStringList TInstallUndo::CreatedFolders() const {
    QStringList folders;
    for (const TChange& change : changes_) {
        if (change.folder && QFileInfo(change.path).isDir())
            folders << change.path;
    }
    return folders;
}
