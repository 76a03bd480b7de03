#include "tests/support/TestSupport.h"

#include <QDir>

namespace TestSupport {

QString dataPath(const QString &name)
{
    return QDir(qEnvironmentVariable("KADRELO_TESTDATA")).filePath(name);
}

QString schemaPath()
{
    return qEnvironmentVariable("KADRELO_SCHEMA");
}

} // namespace TestSupport
