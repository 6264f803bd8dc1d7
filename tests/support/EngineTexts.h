#pragma once

#include <QString>
#include <QStringList>

// The fixed parts of every message the database engine's client library can word, as it words
// them here: a message to the clerk that holds one of them hands over the engine's text.
const QStringList& EngineTextParts();
bool HoldsEngineText(const QString& message);
