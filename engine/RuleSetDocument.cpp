#include "engine/RuleSetDocument.h"

#include "core/XML.h"
#include "engine/WizItem.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

#include <array>

namespace XML {

namespace {

const std::array<QString, 7> SectionNames = {
    QStringLiteral("GrupySluzby"),  QStringLiteral("SluzbyGrupy"), QStringLiteral("Zwolnienia"),
    QStringLiteral("Zwolnienia"),   QStringLiteral("SluzbyIlosc"), QStringLiteral("LudzieSluzby"),
    QStringLiteral("SluzbyLudzie"),
};

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

bool addRule(Xml::Node root, const WizItem &rule, QString *error)
{
    const int kind = rule.Kind();
    if (kind < 0 || kind > 6)
        return fail(error, QStringLiteral("Nieznany rodzaj reguły: %1.").arg(kind));
    Xml::Node section = root.childElements(SectionNames[size_t(kind)]).value(0);
    if (!section)
        return fail(
            error,
            QStringLiteral("Brak sekcji %1 w dokumencie reguł.").arg(SectionNames[size_t(kind)]));

    QStringList objects = WizItem::splitList(rule.Argument2());
    if (objects.isEmpty())
        objects << QStringLiteral("temp");
    const QStringList periods = WizItem::splitList(rule.Dates());

    for (const QString &subject : WizItem::splitList(rule.Argument1())) {
        Xml::Node item = AddElement(section, QStringLiteral("Item"));
        SetAttribute(item, QStringLiteral("Id"), WizItem::entryId(subject));
        for (const QString &object : objects) {
            for (const QString &period : periods) {
                const QStringList fields = period.split(u';');
                if (fields.size() < 2)
                    return fail(error, QStringLiteral("Błędny okres reguły: \"%1\".").arg(period));
                Xml::Node sub = AddElement(item, QStringLiteral("SubItem"));
                if (kind == WizItem::GroupsAbsent || kind == WizItem::PersonsAbsent)
                    SetAttribute(sub, QStringLiteral("Arg2"),
                                 kind == WizItem::PersonsAbsent ? QStringLiteral("P")
                                                                : QStringLiteral("G"));
                else if (kind != WizItem::DutiesNotNeeded)
                    SetAttribute(sub, QStringLiteral("Arg2"), WizItem::entryId(object));
                SetAttribute(sub, QStringLiteral("Date1"), fields.at(0));
                SetAttribute(sub, QStringLiteral("Date2"), fields.at(1));
            }
        }
    }
    return true;
}

} // namespace

std::unique_ptr<Xml::Document> BuildRuleSetDocument(Db::Database &db, qint64 ruleSetId,
                                                    QString *error)
{
    QString text = QStringLiteral("<Root><GrupySluzby/><SluzbyGrupy/><LudzieSluzby/><SluzbyLudzie/>"
                                  "<Zwolnienia/><SluzbyIlosc/></Root>");
    text.replace(QLatin1String("><"), QLatin1String(">\r\n<"));
    auto document = std::make_unique<Xml::Document>();
    QString parseError;
    if (!document->loadXml(text, &parseError)) {
        fail(error, parseError);
        return nullptr;
    }
    if (ruleSetId <= 0)
        return document;

    bool ok = false;
    const QList<WizItem> rules = WizItem::LoadRuleSet(db, ruleSetId, error, &ok);
    if (!ok)
        return nullptr;
    const Xml::Node root = document->documentElement();
    for (const WizItem &rule : rules) {
        if (!addRule(root, rule, error))
            return nullptr;
    }
    return document;
}

} // namespace XML
