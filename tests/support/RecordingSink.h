#pragma once

#include "core/XML.h"

#include <QStringList>

// Records what is handed to the main window's person list, one text a call.
class RecordingSink : public XML::PersonCountSink
{
public:
    QStringList calls;
    void clear() override { calls << QStringLiteral("clear"); }
    void addRow(qint64 id, const QString &name, const QString &group, qint64 count,
                const QString &lastDate) override
    {
        calls << QStringLiteral("%1|%2|%3|%4|%5").arg(id).arg(name, group).arg(count).arg(lastDate);
    }
    void sortRows() override { calls << QStringLiteral("sort"); }
    void makeOpened(bool opened) override { calls << QStringLiteral("opened %1").arg(opened); }
};
