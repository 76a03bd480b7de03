#pragma once

#include "engine/GenerationHost.h"

#include <QList>
#include <QString>
#include <QTime>

#include <optional>
#include <vector>

namespace Db {
class Database;
}
class clsOptions;

namespace Algorytmy {

// One chosen duty as the run keeps it.
struct DutyRecord
{
    qint64 id = 0;
    QString name;             // nazwa
    QTime start;              // od
    QString startText;        // od as stored (ServiceItem/@Text)
    double hours = 0;         // okres
    QString hoursText;        // okres as stored
    bool menOnly = false;     // kobiety false: served by men only
    qint64 standardCount = 0; // ilosc_std
    double restHours = 0;     // rest
    bool wholeGroup = false;  // calagrupa
};

// The chosen duties in the run's order (the order of ids; ids without a row
// in sluzby and repeated ids left out). The build dialog lays the grid out
// from the same list, so headers, cells and Position agree. No value, and
// *error, when sluzby cannot be read or a start time does not convert.
std::optional<QList<DutyRecord>> ChosenDuties(Db::Database &db, const QList<qint64> &dutyIds,
                                              QString *error = nullptr);

// The places of one grid cell are joined by this text.
inline const QString CellSeparator = QStringLiteral("\r\n\r\n");

// One person's text in a grid cell: the CellShow template with its
// placeholders filled.
QString CellText(const QString &cellShow, const QString &nazwisko, const QString &imie,
                 const QString &stopien, const QString &grupa);

// CellText for many persons, the pattern cut into its pieces once. Where
// every bracket of the pattern belongs to a field and no value holds one, no
// replacement can make a field of what another put in, so the values go in
// in one pass; anything else goes through CellText itself.
class CellPattern
{
public:
    explicit CellPattern(const QString &cellShow);

    QString text(QStringView nazwisko, QStringView imie, const QString &stopien,
                 const QString &grupa) const;

private:
    struct Piece
    {
        qsizetype from = 0, length = 0;
        int field = -1; // -1: the pattern's own text from..from+length
    };
    QString m_show;
    bool m_plain = false;
    std::vector<Piece> m_pieces;
};

// Draws up the roster of request.month and hands it to the host.
//
// Reads the database and the options (CellShow, Priorytet); writes nothing to
// the database. Returns true when the roster was handed over (gaps are no
// failure). On failure the description has already been shown with the
// critical icon, *error holds it, nothing was handed over, and
// host.restoreAfterFailure() was called if beginGeneration() had been.
bool GenerateSchedule(Db::Database &db, clsOptions &options, GenerationHost &host,
                      const GenerationRequest &request, QString *error = nullptr);

} // namespace Algorytmy
