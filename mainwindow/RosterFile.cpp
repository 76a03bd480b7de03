#include "mainwindow/RosterFile.h"

#include "controls/ShownText.h"
#include "core/DateTimeText.h"
#include "core/XML.h"
#include "core/ui/FlexGrid.h"
#include "engine/Algorytmy.h"
#include "mainwindow/Compression.h"
#include "masterdata/MasterDataCommon.h"
#include "platform/db/Cursor.h"
#include "platform/db/Database.h"
#include "platform/text/Cp1250.h"
#include "platform/text/FileErrors.h"
#include "platform/text/FileWriter.h"
#include "platform/text/WholeNumber.h"
#include "platform/xml/XmlDocument.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <utility>

namespace RosterFile {

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString NotARoster =
    QStringLiteral("Plik jest uszkodzony albo nie jest grafikiem programu Dorvat Kadrelo.");

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

// A value read from a file, as far as a message needs to show it.
QString quoted(const QString &value)
{
    return ShownText::cut(value, 100);
}

// The last duty as ludzie_last keeps it: a date alone at midnight, else date and time.
std::optional<QString> storedDateTime(const QString &text)
{
    const std::optional<DateTimeText::Value> value = DateTimeText::parse(text);
    if (!value)
        return std::nullopt;
    return DateTimeText::format(*value);
}

// "3.12" -> column 3, row 12.
std::optional<QPair<int, int>> parsePosition(const QString &text)
{
    // Read in place: every place of the roster has one, read twice on opening.
    const qsizetype dot = text.indexOf(u'.');
    if (dot < 0)
        return std::nullopt;
    const std::optional<qint64> col = WholeNumber::parse(QStringView(text).left(dot));
    const std::optional<qint64> row = WholeNumber::parse(QStringView(text).mid(dot + 1));
    if (!col || !row || !std::in_range<int>(*col) || !std::in_range<int>(*row))
        return std::nullopt;
    return QPair<int, int>(int(*col), int(*row));
}

struct Person
{
    qint64 id = 0;
    qint64 group = 0;
    QString nazwisko;
    QString imie;
    QString stopien;
};

// The columns the cells and the list show, read without a value kept for
// every column of every row.
QHash<qint64, Person> readPeople(Db::Database &db)
{
    QHash<qint64, Person> people;
    Db::Cursor count(db, QStringLiteral("SELECT count(*) FROM ludzie"));
    if (count.next())
        people.reserve(qsizetype(std::clamp<qint64>(count.integer(0), 0, 1 << 20)));
    Db::Cursor rows(db, QStringLiteral("SELECT id, id_grupa, nazwisko, imie, stopien FROM ludzie"));
    while (rows.next()) {
        Person person;
        person.id = rows.integer(0);
        person.group = rows.wholeNumber(1).value_or(-1);
        person.nazwisko = rows.text(2);
        person.imie = rows.text(3);
        person.stopien = rows.text(4);
        people.insert(person.id, std::move(person));
    }
    return people;
}

QHash<qint64, QString> readGroups(Db::Database &db)
{
    QHash<qint64, QString> groups;
    Db::Cursor rows(db, QStringLiteral("SELECT id, nazwa FROM grupy"));
    while (rows.next())
        groups.insert(rows.integer(0), rows.text(1));
    return groups;
}

Xml::Node nextElementSibling(const Xml::Node &node)
{
    Xml::Node next = node.nextSibling();
    while (next && next.type() != Xml::Node::Type::Element)
        next = next.nextSibling();
    return next;
}

} // namespace

QString DefaultFileName(const QString &currFile, const QDate &month)
{
    if (!currFile.isEmpty())
        return currFile;
    return QStringLiteral("Grafik [") + month.toString(QStringLiteral("yyyy-MM")) + u']';
}

void RebuildCounter(Xml::Document &document, const QList<PersonCount> &people)
{
    Xml::Node root = document.documentElement();
    // Every earlier Counter goes, so the document never holds two.
    for (const Xml::Node &old : root.childElements(QStringLiteral("Counter"))) {
        const Xml::Node after = old.nextSibling();
        // The line break that followed it goes with it.
        if (after && after.type() == Xml::Node::Type::Text && after.text().trimmed().isEmpty())
            root.removeChild(after);
        root.removeChild(old);
    }
    Xml::Node counter = XML::AddElement(root, QStringLiteral("Counter"));
    for (const PersonCount &person : people) {
        Xml::Node item = XML::AddElement(counter, QStringLiteral("Item"));
        XML::SetAttribute(item, QStringLiteral("Id"), QString::number(person.id));
        XML::SetAttribute(item, QStringLiteral("Count"), person.count);
        XML::SetAttribute(item, QStringLiteral("Date"), person.date);
    }
}

bool SaveRoster(Xml::Document &document, const QList<PersonCount> &people, const QString &path,
                QString *error)
{
    if (document.documentElement().isNull()) {
        setError(error, QStringLiteral("Brak grafiku do zapisania."));
        return false;
    }
    RebuildCounter(document, people);
    return Compression::SaveFile(path, document.documentElement().xml(), error);
}

QByteArray CsvContent(const FlexGrid &grid)
{
    QString text;
    for (int r = 0; r < grid.rows(); ++r) {
        QStringList fields;
        for (int c = 0; c < grid.cols(); ++c) {
            QString cell = grid.text(r, c);
            cell.replace(CrLf, QStringLiteral("\n"));
            // A quote inside a field is doubled, or the reader would end the field there.
            cell.replace(u'"', QStringLiteral("\"\""));
            fields.append(u'"' + cell + u'"');
        }
        text += fields.join(u';') + CrLf;
    }
    return Cp1250::encode(text, Cp1250::Unmappable::Question);
}

bool ExportCsv(const FlexGrid &grid, const QString &path, QString *error)
{
    return FileWriter::write(path, CsvContent(grid), error);
}

bool SaveCounts(Db::Database &db, const QDate &month, const QList<PersonCount> &people,
                QString *error)
{
    const QString miesiac = month.toString(QStringLiteral("yyyy-MM"));
    // Check every row first: a bad one must not cost the month its earlier figures.
    QList<QVariantList> rows;
    for (const PersonCount &person : people) {
        const std::optional<qint64> count = WholeNumber::parse(person.count);
        if (!count) {
            setError(
                error,
                QStringLiteral("Nieprawidłowa ilość służb: \"%1\".").arg(quoted(person.count)));
            return false;
        }
        const std::optional<QString> date = storedDateTime(person.date);
        if (!date) {
            setError(error, QStringLiteral("Nieprawidłowa data ostatniej służby: \"%1\".")
                                .arg(quoted(person.date)));
            return false;
        }
        rows.append(QVariantList{QString::number(person.id), miesiac, *count, *date});
    }

    // Most stores repeat the month's figures: only the rows that differ are written.
    const Db::RowReplacer replacer = MasterData::monthCountsReplacer(db);
    Db::Transaction transaction(db);
    std::optional<QList<Db::RowReplacer::StoredRow>> stored;
    if (transaction.isActive())
        stored = replacer.read(QStringLiteral("miesiac=?"), {miesiac});
    bool done = stored && replacer.replace(*stored, rows);
    if (done)
        done = transaction.commit();
    if (!done)
        setError(error, db.errorString());
    return done;
}

QDate ParseRosterDate(const QString &text)
{
    return DateTimeText::dateOf(text);
}

std::unique_ptr<Xml::Document> ReadRoster(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, FileErrors::reason(file));
        return nullptr;
    }
    file.close();
    // Straight from the file's bytes to the parser's UTF-8: a long text is
    // converted once.
    std::optional<QByteArray> text = Compression::InflateFile(path);
    if (text)
        text = Cp1250::decodeToUtf8(*text);
    auto document = std::make_unique<Xml::Document>();
    if (!text || !document->loadUtf8(*text)) {
        setError(error, NotARoster);
        return nullptr;
    }

    // What the main window reads must be there and make sense, or nothing is shown.
    const Xml::Node root = document->documentElement();
    const QDate month = ParseRosterDate(root.attribute(QStringLiteral("Date")));
    if (root.name() != QLatin1String("Baza") || !month.isValid()) {
        setError(error, NotARoster);
        return nullptr;
    }
    const QList<Xml::Node> services =
        document->selectNodes(QStringLiteral("/Baza/Services/ServiceItem"));
    for (const Xml::Node &service : services) {
        if (!WholeNumber::parse(service.attribute(QStringLiteral("Id")))) {
            setError(error, NotARoster);
            return nullptr;
        }
    }
    const int days = month.daysInMonth();
    for (const Xml::Node &duty : root.selectNodes(QStringLiteral("//Sluzba"))) {
        const std::optional<QPair<int, int>> position =
            parsePosition(duty.attribute(QStringLiteral("Position")));
        if (!position || position->first < 1 || position->first > services.size() ||
            position->second < 1 || position->second > days) {
            setError(error, NotARoster);
            return nullptr;
        }
    }
    return document;
}

std::optional<OpenedRoster> OpenRoster(const QString &path, Db::Database &db,
                                       const QString &cellShow, QString *error)
{
    OpenedRoster roster;
    roster.document = ReadRoster(path, error);
    if (!roster.document)
        return std::nullopt;
    const Xml::Node root = roster.document->documentElement();
    roster.month = ParseRosterDate(root.attribute(QStringLiteral("Date")));
    roster.title = root.attributeStart(QStringLiteral("Name"), ShownText::Limit);
    for (const Xml::Node &service :
         roster.document->selectNodes(QStringLiteral("/Baza/Services/ServiceItem")))
        roster.duties.append(service.attribute(QStringLiteral("Id")) + QChar(u'\0') +
                             service.attribute(QStringLiteral("Text")));

    const QHash<qint64, Person> people = readPeople(db);
    const QHash<qint64, QString> groups = readGroups(db);
    auto findPerson = [&](const QString &idText) -> const Person * {
        const std::optional<qint64> id = WholeNumber::parse(idText);
        const auto it = id ? people.constFind(*id) : people.constEnd();
        return it == people.constEnd() ? nullptr : &*it;
    };

    // Cell texts come from today's names and template, not from the file's Nazwisko;
    // each person's text is made once, however many cells name the person.
    QHash<qint64, QString> personTexts;
    const Algorytmy::CellPattern pattern(cellShow);
    for (const Xml::Node &duty : root.selectNodes(QStringLiteral("//Sluzba"))) {
        const QPair<int, int> position = *parsePosition(duty.attribute(QStringLiteral("Position")));
        QString &cell = roster.cells[{position.second, position.first}];
        for (const Xml::Node &osoba : duty.childElements(QStringLiteral("Osoba"))) {
            const Person *person = findPerson(osoba.attribute(QStringLiteral("Id")));
            const auto group = person ? groups.constFind(person->group) : groups.constEnd();
            if (!person || group == groups.constEnd()) {
                roster.gaps = true;
                continue;
            }
            auto text = personTexts.find(person->id);
            if (text == personTexts.end()) {
                text = personTexts.insert(person->id, pattern.text(person->nazwisko, person->imie,
                                                                   person->stopien, *group));
            }
            cell += *text;
            if (nextElementSibling(osoba))
                cell += Algorytmy::CellSeparator;
        }
    }

    // One row per person, as the list's keys are unique: a repeated Item is left
    // out, so a file cannot fill the list (and the month's counts) with copies.
    const QList<Xml::Node> items =
        roster.document->selectNodes(QStringLiteral("/Baza/Counter/Item"));
    QSet<qint64> listed;
    listed.reserve(items.size());
    roster.people.reserve(items.size());
    for (const Xml::Node &item : items) {
        const Person *person = findPerson(item.attribute(QStringLiteral("Id")));
        if (!person || listed.contains(person->id))
            continue;
        listed.insert(person->id);
        roster.people.append({person->id, person->nazwisko + u' ' + person->imie,
                              groups.value(person->group), item.attribute(QStringLiteral("Count")),
                              item.attribute(QStringLiteral("Date"))});
    }
    return roster;
}

} // namespace RosterFile
