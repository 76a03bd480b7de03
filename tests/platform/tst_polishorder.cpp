#include "platform/text/PolishOrder.h"

#include <QCollator>
#include <QLocale>
#include <QRandomGenerator>

#include <QTest>
#include <numeric>

#include <algorithm>
#include <numeric>
#include <optional>
#include <string>
#include <string_view>

namespace {

int sign(int value)
{
    return (value > 0) - (value < 0);
}

// The order Polish readers expect: the Polish collation, identical texts alone equal.
int expected(const QString &a, const QString &b)
{
    static const QCollator collator{QLocale(QLocale::Polish)};
    const int order = sign(collator.compare(a, b));
    return order != 0 ? order : sign(a.compare(b));
}

// The order of two texts by their sort keys, where both have one.
std::optional<int> byKeys(const QString &a, const QString &b)
{
    std::string keys = "x"; // keys are appended to what a buffer holds
    if (!PolishOrder::appendSortKey(a, &keys))
        return std::nullopt;
    const size_t split = keys.size();
    if (!PolishOrder::appendSortKey(b, &keys) || keys.front() != 'x')
        return std::nullopt;
    const std::string_view all(keys);
    return sign(all.substr(1, split - 1).compare(all.substr(split)));
}

} // namespace

// The one order of names: that of the Polish collation, also where plain
// ASCII texts take the quick way, and the same for texts kept as UTF-8.
class TestPolishOrder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void order_data()
    {
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("Polish letters after their base letters")
            << QStringList{"Cygan", "Ćwik", "Dudek", "Lis", "Łukasik", "Śliwa", "Zieliński", "Żak"};
        QTest::newRow("small letters before capitals, then the next letter")
            << QStringList{"adam", "Adam", "ADAM", "adamczyk", "Adamczyk", "b"};
        QTest::newRow("blanks and marks before digits before letters") << QStringList{
            "", " ", "-", ",", ".", "'", "(", "0", "10", "9", "a", "a b", "a-b", "ab", "aB"};
        QTest::newRow("Polish letters: small before capital, then the next letter")
            << QStringList{"ą", "Ą", "b", "Łodzia", "łódź", "Łódź", "Łódźka", "Żak"};
        QTest::newRow("ASCII beside Polish letters")
            << QStringList{"Nowak", "Nowak Jan", "Nowakowski", "Nowiński", "Nowy", "Nóżka"};
    }
    void order()
    {
        QFETCH(QStringList, sorted);
        for (qsizetype i = 0; i < sorted.size(); ++i) {
            for (qsizetype j = 0; j < sorted.size(); ++j) {
                const QString &a = sorted.at(i);
                const QString &b = sorted.at(j);
                const int want = sign(int(i) - int(j));
                QVERIFY2(sign(PolishOrder::compare(a, b)) == want,
                         qPrintable(QStringLiteral("%1 | %2").arg(a, b)));
                QCOMPARE(sign(PolishOrder::compareUtf8(a.toUtf8(), b.toUtf8())), want);
                QCOMPARE(byKeys(a, b).value_or(want), want);
            }
        }
    }

    // Texts of every printable ASCII character and every Polish letter, many
    // sharing a beginning or differing in letter case alone, with letters of
    // other alphabets and combining marks now and then.
    void agreesWithTheCollator()
    {
        QRandomGenerator dice(4711);
        const QString common = QStringLiteral("aAąĄbBkKlLłŁnNńzZżŻ ");
        const QString rare = QStringLiteral("ąćęłńóśźżĄĆĘŁŃÓŚŹŻéüßø€\u0307\u0328\u0301");
        auto text = [&](int length) {
            QString t;
            for (int i = 0; i < length; ++i) {
                const int kind = dice.bounded(10);
                if (kind < 5)
                    t += common.at(dice.bounded(common.size()));
                else if (kind < 8)
                    t += QChar(0x20 + dice.bounded(0x5f));
                else // a Polish letter whole, a letter and a combining mark (z and a dot above is
                     // ż), ...
                    t += rare.at(dice.bounded(rare.size()));
            }
            return t;
        };
        int keyed = 0;
        for (int n = 0; n < 100000; ++n) {
            const QString a = text(dice.bounded(8));
            QString b = dice.bounded(2) ? a.left(dice.bounded(a.size() + 1)) + text(dice.bounded(4))
                                        : text(dice.bounded(8));
            if (dice.bounded(4) == 0 && !a.isEmpty()) {
                b = a;
                const qsizetype at = dice.bounded(a.size());
                b[at] = a.at(at).isUpper() ? a.at(at).toLower() : a.at(at).toUpper();
            }
            const int want = expected(a, b);
            if (sign(PolishOrder::compare(a, b)) != want ||
                sign(PolishOrder::compareUtf8(a.toUtf8(), b.toUtf8())) != want ||
                byKeys(a, b).value_or(want) != want)
                QFAIL(qPrintable(QStringLiteral("\"%1\" | \"%2\"").arg(a, b)));
            keyed += byKeys(a, b).has_value();
        }
        // Texts of the table's characters alone have keys.
        QVERIFY(keyed > 20000);
    }

    // A sort of many rows orders them as a stable sort by compare() would:
    // names sharing a long beginning (so that their first bytes tie), equal
    // names, both directions, a tie order of the caller's, and a list with
    // one text beyond the quick table (compared as texts throughout).
    void sortedPlacesAsStableSort_data()
    {
        QTest::addColumn<bool>("descending");
        QTest::addColumn<bool>("byTie");
        QTest::addColumn<bool>("foreign");
        QTest::newRow("ascending") << false << false << false;
        QTest::newRow("descending") << true << false << false;
        QTest::newRow("ties by the caller") << false << true << false;
        QTest::newRow("descending, ties by the caller") << true << true << false;
        QTest::newRow("a foreign letter") << false << false << true;
    }
    void sortedPlacesAsStableSort()
    {
        QFETCH(bool, descending);
        QFETCH(bool, byTie);
        QFETCH(bool, foreign);
        QRandomGenerator dice(99);
        const QString letters = QStringLiteral("aAąĄłŁzZżŻ 1.");
        const QStringList beginnings = {QStringLiteral("sierż. Nowakowski "),
                                        QStringLiteral("sierż. Nowakowska "), QStringLiteral("Ł"),
                                        QString()};
        QList<QString> texts;
        for (int i = 0; i < 3000; ++i) {
            QString t = beginnings.at(dice.bounded(beginnings.size()));
            for (int n = dice.bounded(4); n > 0; --n)
                t += letters.at(dice.bounded(letters.size()));
            texts << t;
        }
        if (foreign)
            texts[1500] += QStringLiteral("é");
        const auto tieLess = [](qsizetype a, qsizetype b) { return a % 7 < b % 7; };
        std::vector<qsizetype> want(size_t(texts.size()));
        std::iota(want.begin(), want.end(), 0);
        std::stable_sort(want.begin(), want.end(), [&](qsizetype a, qsizetype b) {
            const int first = descending ? PolishOrder::compare(texts[b], texts[a])
                                         : PolishOrder::compare(texts[a], texts[b]);
            return first != 0 ? first < 0 : byTie && tieLess(a, b);
        });
        const std::vector<qsizetype> got =
            byTie ? PolishOrder::sortedPlaces(texts, descending, tieLess)
                  : PolishOrder::sortedPlaces(texts, descending);
        QCOMPARE(got, want);
    }

    // UTF-8 as SQLite may hold it: broken sequences read as QString::fromUtf8 reads them.
    void brokenUtf8()
    {
        const QByteArray texts[] = {"\xC3(x",   "\xE2\x82", "\xEF\xBB\xBFZak", "Zak", "\xC5\x81uk",
                                    "\xFF\xFE", "Luk"};
        for (const QByteArray &a : texts) {
            for (const QByteArray &b : texts)
                QCOMPARE(sign(PolishOrder::compareUtf8(a, b)),
                         expected(QString::fromUtf8(a), QString::fromUtf8(b)));
        }
    }
};

QTEST_MAIN(TestPolishOrder)
#include "tst_polishorder.moc"
