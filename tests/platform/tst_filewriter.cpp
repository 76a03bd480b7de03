#include "platform/text/FileWriter.h"
#include "tests/support/FullDisk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

Q_DECLARE_METATYPE(std::optional<QByteArray>)

// The one writer of the program's files, on a disk that really runs out.
class TestFileWriter : public QObject
{
    Q_OBJECT

    static QByteArray content(qsizetype size)
    {
        QByteArray bytes(size, Qt::Uninitialized);
        for (qsizetype i = 0; i < size; ++i)
            bytes[i] = char('a' + i % 26);
        return bytes;
    }

private Q_SLOTS:
    void write_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<std::optional<QByteArray>>("old");
        QTest::addColumn<qsizetype>("size");
        QTest::addColumn<qint64>("limit");   // -1: room enough
        QTest::addColumn<QString>("reason"); // empty: written

        const std::optional<QByteArray> none;
        const std::optional<QByteArray> old = QByteArray("the roster saved last week\r\n");
        const QString full = TestSupport::FullDisk::reason();
        QTest::newRow("new file") << "plik.swx" << none << qsizetype(100) << qint64(-1) << "";
        QTest::newRow("replaces a longer file")
            << "plik.swx" << old << qsizetype(5) << qint64(-1) << "";
        QTest::newRow("empty content") << "plik.csv" << old << qsizetype(0) << qint64(-1) << "";
        QTest::newRow("large content")
            << "plik.xml" << old << qsizetype(300000) << qint64(-1) << "";
        QTest::newRow("full before the first byte")
            << "plik.swx" << old << qsizetype(100) << qint64(0) << full;
        // Under the 16 KiB that Qt keeps in memory before it writes.
        QTest::newRow("small file, full in the middle")
            << "plik.swx" << old << qsizetype(10000) << qint64(4096) << full;
        QTest::newRow("large file, full in the middle")
            << "plik.rtf" << old << qsizetype(200000) << qint64(65536) << full;
        QTest::newRow("full one byte short")
            << "plik.csv" << old << qsizetype(4097) << qint64(4096) << full;
        QTest::newRow("new file on a full disk")
            << "plik.swx" << none << qsizetype(100) << qint64(0) << full;
        QTest::newRow("folder missing")
            << "brak/plik.swx" << none << qsizetype(10) << qint64(-1)
            << "Plik lub folder nie istnieje (No such file or directory)";
    }

    void write()
    {
        QFETCH(QString, name);
        QFETCH(std::optional<QByteArray>, old);
        QFETCH(qsizetype, size);
        QFETCH(qint64, limit);
        QFETCH(QString, reason);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(name);
        if (old) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(*old), old->size());
        }
        const QByteArray bytes = content(size);

        QString error = QStringLiteral("untouched");
        bool written = false;
        {
            std::optional<TestSupport::FullDisk> disk;
            if (limit >= 0) {
                disk.emplace(rlim_t(limit));
                QVERIFY(disk->isActive());
            }
            written = FileWriter::write(path, bytes, &error);
        }

        QFile file(path);
        if (reason.isEmpty()) {
            QVERIFY2(written, qPrintable(error));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), bytes);
        } else {
            QVERIFY(!written);
            QCOMPARE(error, reason);
            if (old) {
                QVERIFY(file.open(QIODevice::ReadOnly));
                QCOMPARE(file.readAll(), *old);
            } else {
                QVERIFY(!file.exists());
            }
        }
        // No temporary stays beside the file.
        const QStringList left = QDir(QFileInfo(path).absolutePath())
                                     .entryList(QDir::Files | QDir::Hidden | QDir::System);
        QCOMPARE(left, file.exists() ? QStringList{QFileInfo(path).fileName()} : QStringList());
    }
};

QTEST_GUILESS_MAIN(TestFileWriter)
#include "tst_filewriter.moc"
