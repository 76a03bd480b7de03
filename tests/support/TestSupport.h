#pragma once

#include <QString>

namespace TestSupport {

// Folder of the test fixtures (tests/data).
QString dataPath(const QString &name);

// The schema file the template database is built from.
QString schemaPath();

} // namespace TestSupport
