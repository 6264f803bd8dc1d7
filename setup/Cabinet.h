#pragma once

#include <QString>

#include <functional>

// Called before each file of a cabinet with the file's name in the cabinet and its
// destination path; clearing the path skips the file.
using TCabinetCallback = std::function<void(const QString& name, QString& destination)>;

// Extracts every file of a Microsoft Cabinet into the folder, creating missing subfolders and
// overwriting existing files (read-only ones too). Names that would leave the folder (absolute
// names, ".." parts) are refused before anything is written. Fails with a message.
void ExtractCabinet(const QString& cabinet, const QString& folder, const TCabinetCallback& callback);

// Reads a whole cabinet without writing anything, as its extraction would: fails with the same
// message when it cannot be opened, is damaged or holds a name that would leave the folder.
// Returns the bytes its files take once extracted.
qint64 CheckCabinet(const QString& cabinet);
