#include "core/XML.h"

#include "core/Messages.h"
#include "platform/text/WholeNumber.h"

namespace XML {

namespace {

const QString LineBreak = QStringLiteral("\r\n");

// The namespace a name with this prefix takes at node (empty prefix: the default namespace).
QString namespaceInScope(const Xml::Node &node, const QString &prefix)
{
    return node.inheritedAttribute(prefix.isEmpty() ? QStringLiteral("xmlns")
                                                    : QStringLiteral("xmlns:") + prefix);
}

} // namespace

std::unique_ptr<Xml::Document> CreateScheduleDocument(const QDate &month)
{
    auto document = std::make_unique<Xml::Document>();
    if (!document->loadXml(ScheduleDocumentText)) {
        Messages::critical(QStringLiteral("Wystąpił błąd przy tworzeniu bazy XML!"));
        return nullptr;
    }
    // Fixed form, whatever the machine's date settings: files must read the same everywhere.
    SetAttribute(document->documentElement(), QStringLiteral("Date"),
                 month.toString(QStringLiteral("yyyy-MM-dd")));
    AddElement(document->documentElement(), QStringLiteral("Services"));
    return document;
}

Xml::Node AddDayNode(Xml::Document &document, int day)
{
    Xml::Node dayElement = AddElement(document.documentElement(), QStringLiteral("Dzien"));
    dayElement.appendAttribute("Id", day);
    return dayElement;
}

Xml::Node AddDutyNode(Xml::Node dayElement, const QString &name, qint64 id, const QString &position)
{
    Xml::Node duty = AddElement(dayElement, QStringLiteral("Sluzba"));
    duty.appendAttribute("Id", id);
    duty.appendAttribute("Name", name);
    duty.appendAttribute("Position", position);
    return duty;
}

Xml::Node AddPersonNode(Xml::Node dutyElement, const QString &text, qint64 id)
{
    Xml::Node person = AddElement(dutyElement, QStringLiteral("Osoba"));
    person.appendAttribute("Id", id);
    Xml::Node surname = AddElement(person, QStringLiteral("Nazwisko"));
    surname.setText(text);
    return person;
}

Xml::Node AddElement(Xml::Node parent, const QString &name, const QString &namespaceUri)
{
    // Only elements take children here: the root element is created with its document.
    if (parent.type() != Xml::Node::Type::Element)
        return {};
    Xml::Node element = parent.appendElement(name);
    const qsizetype colon = name.indexOf(QLatin1Char(':'));
    const QString prefix = colon < 0 ? QString() : name.left(colon);
    if (namespaceInScope(parent, prefix) != namespaceUri &&
        !(colon >= 0 && namespaceUri.isEmpty())) {
        SetAttribute(element,
                     prefix.isEmpty() ? QStringLiteral("xmlns") : QStringLiteral("xmlns:") + prefix,
                     namespaceUri);
    }
    parent.appendText(LineBreak);
    return element;
}

void SetAttribute(Xml::Node node, const QString &name, const QString &value)
{
    node.setAttribute(name, value);
}

bool FillPersonCounts(const Xml::Document &workingDocument, PersonCountSink &sink)
{
    struct Row
    {
        qint64 id;
        QString name;
        QString group;
        qint64 count;
        QString date;
    };
    // Read everything first: a bad number must not leave a half-filled list.
    QList<Row> rows;
    // /Doc/Groups/Group/Item, walked by hand: one group name read per group.
    const Xml::Node root = workingDocument.documentElement();
    const QList<Xml::Node> sections = root.name() == QLatin1String("Doc")
                                          ? root.childElements(QStringLiteral("Groups"))
                                          : QList<Xml::Node>();
    for (const Xml::Node &groups : sections) {
        for (const Xml::Node &group : groups.childElements(QStringLiteral("Group"))) {
            const QString name = group.attribute(QStringLiteral("Name"));
            for (const Xml::Node &item : group.childElements(QStringLiteral("Item"))) {
                const auto id = WholeNumber::parse(item.attribute(QStringLiteral("Id")));
                const auto count = WholeNumber::parse(item.attribute(QStringLiteral("Count")));
                const auto atStart =
                    WholeNumber::parse(item.attribute(QStringLiteral("CountAtStar")));
                if (!id || !count || !atStart)
                    return false;
                rows.append({*id, item.attribute(QStringLiteral("Name")), name, *count - *atStart,
                             item.attribute(QStringLiteral("Date"))});
            }
        }
    }
    sink.clear();
    for (const Row &row : rows)
        sink.addRow(row.id, row.name, row.group, row.count, row.date);
    sink.sortRows();
    sink.makeOpened(true);
    return true;
}

} // namespace XML
