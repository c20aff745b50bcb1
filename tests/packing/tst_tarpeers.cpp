// Our archives against tar programs no one here wrote: GNU tar and Python's tarfile.
#include "packing/LibTar.h"
#include "tests/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace
{

struct SampleFile {
    QString Name; // entry name, "/" between folders
    QByteArray Data;
    qint64 MTime;
};

QList<SampleFile> sampleFiles(bool withLongName)
{
    QList<SampleFile> files = {
        {QStringLiteral("glyphbook.js"), sampleBytes(3000, 1), 1600000000},
        {QStringLiteral("empty.png"), QByteArray(), 1600001000},
        {QStringLiteral("block512.gif"), sampleBytes(512, 2), 1600002000},
        {QStringLiteral("block513.bmp"), sampleBytes(513, 3), 1600003000},
        {QString(96, u'n') + QStringLiteral(".png"), sampleBytes(70, 4), 1700000000},
        {QStringLiteral("img/inner.jpg"), sampleBytes(20000, 5), 1500000000},
    };
    if (withLongName)
        files.append(
            {QString(140, u'l') + QStringLiteral(".png"), sampleBytes(900, 6), 1650000000});
    return files;
}

// Puts the files below root with their modification times (and half a second more, which the
// archive drops).
void createFiles(const QString &root, const QList<SampleFile> &files)
{
    for (const SampleFile &f : files) {
        const QString path = root + u'/' + f.Name;
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(f.Data), f.Data.size());
        QVERIFY(file.flush()); // a later flush would set the time again
        QVERIFY(file.setFileTime(QDateTime::fromMSecsSinceEpoch(f.MTime * 1000 + 500, Qt::UTC),
                                 QFileDevice::FileModificationTime));
    }
}

// Checks that root holds every file with its content and its time in whole seconds.
void compareExtracted(const QString &root, const QList<SampleFile> &files)
{
    for (const SampleFile &f : files) {
        QFile file(root + u'/' + f.Name);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        QCOMPARE(file.readAll(), f.Data);
        QCOMPARE(file.fileTime(QFileDevice::FileModificationTime).toSecsSinceEpoch(), f.MTime);
    }
}

struct PeerRun {
    int ExitCode = -1;
    QByteArray Out;
    QByteArray Err;
};

PeerRun runPeer(const QString &program, const QStringList &args)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(env);
    process.start(program, args);
    PeerRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.ExitCode = process.exitCode();
    run.Out = process.readAllStandardOutput();
    run.Err = process.readAllStandardError();
    return run;
}

// The archive ends with one zero block where GNU tar writes two; it says so and reads on.
QByteArray withoutLoneZeroBlockNote(const QByteArray &err)
{
    QByteArray rest;
    for (const QByteArray &line : err.split('\n'))
        if (!line.contains("A lone zero block"))
            rest += line;
    return rest;
}

QString peerProgram(const QString &name)
{
    return QStandardPaths::findExecutable(name);
}

// Lists the archive as JSON (name, size, mtime, type) and extracts it into a folder.
const char PythonLister[] = R"(
import json, sys, tarfile
with tarfile.open(sys.argv[1]) as t:
    members = t.getmembers()
    print(json.dumps([{"name": m.name, "size": m.size, "mtime": m.mtime, "type": m.type.decode()}
                      for m in members]))
    if hasattr(tarfile, "tar_filter"):
        t.extractall(sys.argv[2], filter="tar")
    else:
        t.extractall(sys.argv[2])
)";

} // namespace

class TestTarPeers : public QObject
{
    Q_OBJECT

private slots:
    void ourArchiveIsReadByGnuTar()
    {
        const QString tar = peerProgram(QStringLiteral("tar"));
        if (tar.isEmpty())
            QSKIP("GNU tar is not installed (scripts/setup.sh installs it)");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QList<SampleFile> files = sampleFiles(false);
        const QString archive = writeOurArchive(dir, files);
        if (QTest::currentTestFailed())
            return;

        const PeerRun list =
            runPeer(tar, {QStringLiteral("--list"), QStringLiteral("--verbose"),
                          QStringLiteral("--full-time"), QStringLiteral("--numeric-owner"),
                          QStringLiteral("--file"), archive});
        QVERIFY2(list.ExitCode == 0, list.Err.constData());
        QVERIFY2(withoutLoneZeroBlockNote(list.Err).isEmpty(), list.Err.constData());
        const QList<QByteArray> lines = list.Out.trimmed().split('\n');
        QCOMPARE(lines.size(), files.size());
        for (int i = 0; i < files.size(); ++i) {
            // "-rwxrwxrwx 0/0 3000 2020-09-13 12:26:40 glyphbook.js"
            const QList<QByteArray> parts = lines[i].simplified().split(' ');
            QCOMPARE(parts.size(), 6);
            QCOMPARE(parts[0], QByteArray("-rwxrwxrwx"));
            QCOMPARE(parts[2].toLongLong(), qint64(files[i].Data.size()));
            const QDateTime listed =
                QDateTime::fromString(QString::fromLatin1(parts[3] + ' ' + parts[4]),
                                      QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            QCOMPARE(QDateTime(listed.date(), listed.time(), Qt::UTC).toSecsSinceEpoch(),
                     files[i].MTime);
            QCOMPARE(QString::fromUtf8(parts[5]), files[i].Name);
        }

        const QString out = dir.filePath(QStringLiteral("gnu-out"));
        QVERIFY(QDir().mkpath(out));
        const PeerRun extract =
            runPeer(tar, {QStringLiteral("-xf"), archive, QStringLiteral("-C"), out});
        QVERIFY2(extract.ExitCode == 0, extract.Err.constData());
        QVERIFY2(withoutLoneZeroBlockNote(extract.Err).isEmpty(), extract.Err.constData());
        compareExtracted(out, files);
    }

    void ourArchiveIsReadByPython()
    {
        const QString python = peerProgram(QStringLiteral("python3"));
        if (python.isEmpty())
            QSKIP("python3 is not installed (scripts/setup.sh installs it)");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QList<SampleFile> files = sampleFiles(false);
        const QString archive = writeOurArchive(dir, files);
        if (QTest::currentTestFailed())
            return;
        const QString out = dir.filePath(QStringLiteral("python-out"));

        const PeerRun run = runPeer(
            python, {QStringLiteral("-c"), QString::fromLatin1(PythonLister), archive, out});
        QVERIFY2(run.ExitCode == 0, run.Err.constData());
        const QJsonArray members = QJsonDocument::fromJson(run.Out).array();
        QCOMPARE(members.size(), files.size());
        for (int i = 0; i < files.size(); ++i) {
            const QJsonObject m = members[i].toObject();
            QCOMPARE(m[u"name"].toString(), files[i].Name);
            QCOMPARE(m[u"size"].toInteger(), qint64(files[i].Data.size()));
            QCOMPARE(m[u"mtime"].toInteger(), files[i].MTime);
            QCOMPARE(m[u"type"].toString(), QStringLiteral("0"));
        }
        compareExtracted(out, files);
    }

    void gnuTarArchivesAreReadByUs_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("ustar") << QStringLiteral("ustar");
        QTest::newRow("gnu") << QStringLiteral("gnu");
    }
    void gnuTarArchivesAreReadByUs()
    {
        QFETCH(QString, format);
        const QString tar = peerProgram(QStringLiteral("tar"));
        if (tar.isEmpty())
            QSKIP("GNU tar is not installed (scripts/setup.sh installs it)");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        // Names beyond 100 bytes go to the prefix field in ustar, which is not read.
        const bool gnu = format == QStringLiteral("gnu");
        const QList<SampleFile> files = sampleFiles(gnu);
        const QString src = dir.filePath(QStringLiteral("src"));
        createFiles(src, files);
        if (QTest::currentTestFailed())
            return;
        const QString archive = dir.filePath(QStringLiteral("peer.tar"));
        QStringList args = {QStringLiteral("--format=") + format, QStringLiteral("-cf"), archive,
                            QStringLiteral("-C"), src};
        for (const SampleFile &f : files)
            args.append(f.Name);
        const PeerRun run = runPeer(tar, args);
        QVERIFY2(run.ExitCode == 0, run.Err.constData());

        TTarArchive reader(archive);
        TTarDirRec rec;
        QByteArray pendingLongName;
        int index = 0;
        while (reader.FindNext(rec)) {
            QVERIFY(rec.ChecksumOK);
            QCOMPARE(rec.Magic, QByteArray("ustar"));
            QCOMPARE(rec.FileType, ftNormal);
            const QByteArray data = reader.ReadFile();
            if (rec.Name == "././@LongLink") {
                // The long-name record of this format is an ordinary entry whose data is the name.
                pendingLongName = data;
                continue;
            }
            QVERIFY(index < files.size());
            const SampleFile &f = files[index++];
            const QByteArray name = f.Name.toUtf8();
            if (name.size() > 100) {
                QCOMPARE(pendingLongName, name + '\0');
                QCOMPARE(rec.Name, name.left(100));
            } else {
                QVERIFY(pendingLongName.isEmpty());
                QCOMPARE(rec.Name, name);
            }
            pendingLongName.clear();
            QCOMPARE(rec.Size, qint64(f.Data.size()));
            QCOMPARE(data, f.Data);
            QCOMPARE(rec.DateTime.toSecsSinceEpoch(), f.MTime);
        }
        QCOMPARE(index, files.size());
    }

private:
    QString writeOurArchive(const QTemporaryDir &dir, const QList<SampleFile> &files)
    {
        const QString src = dir.filePath(QStringLiteral("src"));
        createFiles(src, files);
        if (QTest::currentTestFailed())
            return QString();
        const QString archive = dir.filePath(QStringLiteral("ours.tar"));
        TTarWriter writer(archive);
        for (const SampleFile &f : files)
            writer.AddFile(src + u'/' + f.Name, f.Name.toUtf8());
        writer.Finalize();
        return archive;
    }
};

QTEST_GUILESS_MAIN(TestTarPeers)
#include "tst_tarpeers.moc"
