#pragma once

#include "core/XML.h"
#include "engine/GenerationHost.h"
#include "platform/xml/XmlDocument.h"

#include <QMap>
#include <QPair>
#include <QStringList>

#include <memory>

// A main window for the generation's tests: records everything the run does
// to it, in order.
class RecordingHost : public Algorytmy::GenerationHost, public XML::PersonCountSink
{
public:
    void setScheduleReady(bool ready) override
    {
        scheduleReady = ready;
        calls << QStringLiteral("ready %1").arg(ready);
    }
    void beginGeneration() override { calls << QStringLiteral("begin"); }
    void progress(int dayIndex, int dayCount, const QString &text) override
    {
        ++progressCalls;
        lastProgress = QStringLiteral("%1/%2 %3").arg(dayIndex).arg(dayCount).arg(text);
    }
    void setCellText(int row, int column, const QString &text) override
    {
        cells[{row, column}] = text;
    }
    void endGeneration() override { calls << QStringLiteral("end"); }
    void restoreAfterFailure() override { calls << QStringLiteral("restore"); }
    void setCurrDate(const QDate &firstDay) override
    {
        currDate = firstDay;
        calls << QStringLiteral("currdate");
    }
    void setToolbarTitle(const QString &title) override
    {
        m_title = title;
        calls << QStringLiteral("title");
    }
    QString toolbarTitle() const override { return m_title; }
    XML::PersonCountSink &personList() override { return *this; }
    void setRosterDocument(std::unique_ptr<Xml::Document> document) override
    {
        roster = std::move(document);
        calls << QStringLiteral("roster");
    }
    void showExclusions() override { calls << QStringLiteral("exclusions"); }

    // The person list.
    void clear() override { persons.clear(); }
    void addRow(qint64 id, const QString &name, const QString &group, qint64 count,
                const QString &lastDate) override
    {
        persons << QStringLiteral("%1 %2 | %3 | %4 | %5")
                       .arg(id)
                       .arg(name, group)
                       .arg(count)
                       .arg(lastDate);
    }
    void sortRows() override {}
    void makeOpened(bool opened) override { calls << QStringLiteral("opened %1").arg(opened); }

    // The cell at (row, column), empty when never written.
    QString cell(int row, int column) const { return cells.value({row, column}); }

    // Everything recorded, as compared with the golden files: the roster
    // document, then cells, person rows and calls.
    QString transcript() const
    {
        QString text = roster ? roster->xml() : QStringLiteral("(no roster)");
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text += QStringLiteral("\n-- cells\n");
        for (auto it = cells.cbegin(); it != cells.cend(); ++it) {
            QString value = it.value();
            value.replace(QLatin1String("\r\n"), QLatin1String("|"));
            text +=
                QStringLiteral("%1.%2: %3\n").arg(it.key().second).arg(it.key().first).arg(value);
        }
        text += QStringLiteral("-- persons\n") + persons.join(u'\n') + u'\n';
        text += QStringLiteral("-- calls\n") + calls.join(u'\n') + u'\n';
        text += QStringLiteral("-- progress %1: %2\n").arg(progressCalls).arg(lastProgress);
        return text;
    }

    bool scheduleReady = true;
    QDate currDate;
    QMap<QPair<int, int>, QString> cells;
    QStringList persons;
    QStringList calls;
    int progressCalls = 0;
    QString lastProgress;
    std::unique_ptr<Xml::Document> roster;

private:
    QString m_title;
};
