#include "model/GlyphbookError.h"
#include "model/ViraSymbol.h"
#include "tests/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

/// Saves the library into path; the error message, or "" when it saved.
QString saveError(TViraGlyphbook &book, const QString &path)
{
    try {
        book.SaveToFile(path);
    } catch (const EFileError &e) {
        return e.message();
    }
    return QString();
}

TStringPairs pair(const char *name, const char *value)
{
    return {QString::fromUtf8(name), QString::fromUtf8(value)};
}

// The two-symbol library of the example document, as it stands in memory before saving.
TViraGlyphbook exampleLibrary()
{
    TViraGlyphbook book;
    auto pump = std::make_shared<TViraSymbol>();
    pump->Identifier = QStringLiteral("pump");
    pump->Image = QStringLiteral("D:\\Art\\pump.png");
    pump->Symbol = true;
    pump->ImageX = 24;
    pump->ImageY = 20;
    pump->TextX = 30;
    pump->TextY = -8;
    pump->TextAlign = vstaCenter;
    pump->Names = {pair("en", "Pump"), pair("sv", "")};
    pump->StateImages = {pair("1", "D:\\Art\\pump_run.png"),
                         pair("Alarm", "D:\\Art\\pump_alarm.gif")};
    auto frame = std::make_shared<TViraSymbol>();
    frame->Identifier = QStringLiteral("frame");
    frame->Image = QStringLiteral("D:\\Art\\frame.png");
    frame->Names = {pair("en", "Frame"), pair("sv", "Ram")};
    book.Symbols = {pump, frame};
    return book;
}

// A document with one symbol object whose members are given as JSON text.
QByteArray oneSymbol(const char *members)
{
    return QByteArray("{\"GLYPHBOOK\": [{") + members + "}]}";
}

QString loadError(TViraGlyphbook &book, const QByteArray &bytes)
{
    try {
        book.LoadFromBytes(bytes, QStringLiteral("doc.js"));
    } catch (const EGlyphbookError &e) {
        return e.message();
    }
    return QString();
}

} // namespace

class TestDocument : public QObject
{
    Q_OBJECT

private slots:
    void exampleDocumentBytes()
    {
        const QByteArray golden = readFile(QStringLiteral(GLYPHBOOK_TEST_DATA "/example.js"));
        QVERIFY(!golden.isEmpty());
        TViraGlyphbook book = exampleLibrary();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lib.js"));
        QVERIFY(book.SaveToFile(path));
        QCOMPARE(readFile(path), golden);
        // The empty Swedish name was filled with the identifier, in memory too.
        QCOMPARE(book.Symbols[0]->FindName(QStringLiteral("sv")), QStringLiteral("pump"));

        TViraGlyphbook loaded;
        QVERIFY(loaded.LoadFromFile(path));
        QCOMPARE(loaded.Symbols.size(), 2);
        const TViraSymbol &pump = *loaded.Symbols[0];
        QCOMPARE(pump.Identifier, QStringLiteral("pump"));
        QCOMPARE(pump.Image, QStringLiteral("D:\\Art\\pump.png"));
        QVERIFY(pump.Symbol);
        QCOMPARE(pump.ImageX, 24);
        QCOMPARE(pump.ImageY, 20);
        QCOMPARE(pump.TextX, 30);
        QCOMPARE(pump.TextY, -8);
        QCOMPARE(pump.TextAlign, vstaCenter);
        // Names come back in member order.
        QCOMPARE(pump.Names, QList<TStringPairs>({pair("sv", "pump"), pair("en", "Pump")}));
        QCOMPARE(pump.StateImages, book.Symbols[0]->StateImages);
        const TViraSymbol &frame = *loaded.Symbols[1];
        QVERIFY(!frame.Symbol);
        QCOMPARE(frame.Names, QList<TStringPairs>({pair("sv", "Ram"), pair("en", "Frame")}));

        // Saving what was loaded gives the same bytes again.
        QCOMPARE(loaded.SaveToBytes(), golden);
    }

    void emptyLibrary()
    {
        TViraGlyphbook book;
        const QByteArray bytes = book.SaveToBytes();
        QCOMPARE(bytes, QByteArray("\xEF\xBB\xBF{\r\n \"GLYPHBOOK\": []\r\n}\r\n"));
        QCOMPARE(bytes.size(), 27);
    }

    void roundTripChanges()
    {
        TViraGlyphbook book;
        auto symbol = std::make_shared<TViraSymbol>();
        symbol->Identifier = QStringLiteral("id");
        symbol->Symbol = true;
        symbol->TextAlign = TVSTextAlign(255);
        symbol->Error = true;
        symbol->Names = {pair("en", "first"), pair("en", "second"), pair("de", "")};
        symbol->StateImages = {pair("", "")};
        auto plain = std::make_shared<TViraSymbol>();
        plain->TextX = 5;
        plain->TextY = 6;
        plain->TextAlign = vstaLeft;
        plain->StateImages = {pair("1", "kept.png")};
        book.Symbols = {symbol, plain};

        const QByteArray bytes = book.SaveToBytes();
        QVERIFY(!bytes.contains("kept.png"));   // a plain image writes no state images...
        QCOMPARE(plain->StateImages.size(), 1); // ...but keeps them in memory

        TViraGlyphbook loaded;
        loaded.LoadFromBytes(bytes, QStringLiteral("x"));
        QCOMPARE(loaded.Symbols.size(), 2);
        const TViraSymbol &s = *loaded.Symbols[0];
        QCOMPARE(s.Names, QList<TStringPairs>({pair("en", "second"), pair("de", "id")}));
        QCOMPARE(s.TextAlign, vstaRight);
        QVERIFY(!s.Error);
        QCOMPARE(s.StateImages, QList<TStringPairs>({pair("", "")}));
        const TViraSymbol &p = *loaded.Symbols[1];
        QCOMPARE(p.TextX, 0);
        QCOMPARE(p.TextY, 0);
        QCOMPARE(p.TextAlign, vstaRight);
        QVERIFY(p.StateImages.isEmpty());
    }

    void lineBreaksInStrings()
    {
        TViraGlyphbook book;
        auto symbol = std::make_shared<TViraSymbol>();
        symbol->Identifier = QStringLiteral("a\nb\rc\r\nd");
        book.Symbols = {symbol};
        const QByteArray bytes = book.SaveToBytes();
        QVERIFY(bytes.contains("\"a\r\nb\r\nc\r\nd\""));
        TViraGlyphbook loaded;
        loaded.LoadFromBytes(bytes, QStringLiteral("x"));
        QCOMPARE(loaded.Symbols[0]->Identifier, QStringLiteral("a\r\nb\r\nc\r\nd"));
    }

    void languageCodesAreOrderedAsWritten_data()
    {
        QTest::addColumn<QString>("code");
        QTest::newRow("lone CR") << QStringLiteral("Identifi\r");
        QTest::newRow("lone LF") << QStringLiteral("a\nb");
        QTest::newRow("lone surrogate")
            << QStringLiteral("x") + QChar(0xD800) + QStringLiteral("end");
    }
    void languageCodesAreOrderedAsWritten()
    {
        // The file stores these codes changed (CR LF, the replacement character); their member
        // order must be that of the stored code, or the next save reorders the names.
        QFETCH(QString, code);
        TViraGlyphbook book;
        auto symbol = std::make_shared<TViraSymbol>();
        symbol->Identifier = QStringLiteral("s");
        for (const char *lang : {"sv", "en", "de", "fr", "geX", "tifier", "TextX"})
            symbol->Names.append(pair(lang, "n"));
        symbol->Names.append({code, QStringLiteral("odd")});
        book.Symbols = {symbol};
        const QByteArray saved = book.SaveToBytes();
        TViraGlyphbook loaded;
        loaded.LoadFromBytes(saved, QStringLiteral("x"));
        QCOMPARE(loaded.SaveToBytes(), saved);
    }

    void load_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error"); // empty: the load succeeds
        QTest::addColumn<int>("symbols");   // symbols in the library afterwards
        QTest::addColumn<QString>("check"); // a field to look at in the last symbol
        QTest::addColumn<QString>("expected");

        QTest::newRow("literal true is a symbol")
            << oneSymbol(R"("Symbol": true, "ImageX": 1, "ImageY": 2, "TextX": 3, "TextY": 4)")
            << "" << 1 << "Symbol"
            << "true";
        QTest::newRow("TRUE is a plain image")
            << oneSymbol(R"("Symbol": "TRUE", "ImageX": 1, "ImageY": 2)") << "" << 1 << "Symbol"
            << "false";
        QTest::newRow("integer from string")
            << oneSymbol(R"("ImageX": "12", "ImageY": "$C")") << "" << 1 << "ImageY"
            << "12";
        QTest::newRow("plain image without text point")
            << oneSymbol(R"("Symbol": "false", "ImageX": 1, "ImageY": 2, "TextX": "bad")") << ""
            << 1 << "TextX"
            << "0";
        QTest::newRow("state image without Value")
            << oneSymbol(R"("Symbol": "true", "ImageX": 1, "ImageY": 2, "TextX": 3, "TextY": 4,
                 "StateImages": [{"Image": "a.png"}, 5])")
            << "" << 1 << "StateImages"
            << "=a.png;=;";
        QTest::newRow("NAME not an object")
            << oneSymbol(R"("ImageX": 1, "ImageY": 2, "NAME": 3)") << "" << 1 << "Names"
            << "";
        QTest::newRow("without mark")
            << QByteArray(R"({"GLYPHBOOK": [{"ImageX": 1, "ImageY": 2}]})") << "" << 1 << "ImageX"
            << "1";
        QTest::newRow("mark inside a text is kept")
            << "\xEF\xBB\xBF" + oneSymbol("\"Identifier\": \"\xEF\xBB\xBFx\", \"ImageX\": 1, "
                                          "\"ImageY\": 2")
            << "" << 1 << "Identifier" << QStringLiteral("\uFEFFx");
        QTest::newRow("GLYPHBOOK not an array")
            << QByteArray(R"({"GLYPHBOOK": "x"})") << "" << 0 << ""
            << "";
        QTest::newRow("lenient text")
            << QByteArray("// hand-written\n{GLYPHBOOK: [{Identifier: pump, ImageX: 3, ImageY: "
                          "4, NAME: {en: 'Pump'},},]}")
            << "" << 1 << "Identifier"
            << "pump";

        QTest::newRow("32 levels deep")
            << oneSymbol(("\"ImageX\": 1, \"ImageY\": 2, \"Identifier\": " + QByteArray(28, '[') +
                          "1" + QByteArray(28, ']'))
                             .constData())
            << "" << 1 << "Identifier" << QString(28, u'[') + u'1' + QString(28, u']');
        QTest::newRow("33 levels deep")
            << oneSymbol(("\"ImageX\": 1, \"ImageY\": 2, \"Identifier\": " + QByteArray(29, '[') +
                          "1" + QByteArray(29, ']'))
                             .constData())
            << "The file \"doc.js\" is not a library document: values nest deeper than 32 "
               "levels at line 1, column 86."
            << 0 << ""
            << "";
        QTest::newRow("beyond 32 bits") << oneSymbol(R"("ImageX": 2147483648, "ImageY": 2)")
                                        << "'2147483648' is not a valid integer value" << 1 << ""
                                        << "";
        QTest::newRow("beyond 64 bits")
            << oneSymbol(R"("ImageX": 1, "ImageY": 99999999999999999999)")
            << "'1e+20' is not a valid integer value" << 1 << ""
            << "";
        QTest::newRow("beyond a double")
            << oneSymbol(R"("ImageX": 1, "ImageY": 1e999)")
            << "The file \"doc.js\" is not a library document: malformed number at line 1, "
               "column 45."
            << 0 << ""
            << "";
        QTest::newRow("fraction") << oneSymbol(R"("ImageX": 12.5, "ImageY": 2)")
                                  << "'12.5' is not a valid integer value" << 1 << ""
                                  << "";
        QTest::newRow("missing ImageX") << oneSymbol(R"("Identifier": "i")")
                                        << "'' is not a valid integer value" << 1 << "Identifier"
                                        << "i";
        QTest::newRow("earlier bad member is reported")
            << oneSymbol(R"("Symbol": "true", "TextX": "t", "ImageX": 1, "ImageY": "y")")
            << "'y' is not a valid integer value" << 1 << "ImageX"
            << "1";
        QTest::newRow("failing symbol stays, later ones are not read")
            << QByteArray(R"({"GLYPHBOOK": [{"ImageX": 1, "ImageY": 2}, {"Identifier": "b",
                 "ImageX": 1, "ImageY": 2, "Symbol": "true", "TextX": "-"}, {"ImageX": 1}]})")
            << "'-' is not a valid integer value" << 2 << "Identifier"
            << "b";
        QTest::newRow("parse failure")
            << QByteArray("\xEF\xBB\xBF{\r\n \"GLYPHBOOK\": [\r\n  {\"ImageX\" 1}]}")
            << "The file \"doc.js\" is not a library document: ':' is expected after a member "
               "name at line 3, column 13."
            << 0 << ""
            << "";
        QTest::newRow("no GLYPHBOOK") << QByteArray(R"({"glyphbook": []})")
                                      << "The file \"doc.js\" is not a library document: it has "
                                         "no \"GLYPHBOOK\" member."
                                      << 0 << ""
                                      << "";
        QTest::newRow("empty file") << QByteArray()
                                    << "The file \"doc.js\" is not a library document: it has "
                                       "no \"GLYPHBOOK\" member."
                                    << 0 << ""
                                    << "";
        QTest::newRow("not UTF-8") << QByteArray("{\"GLYPHBOOK\": [{\"Identifier\": \"\xFF\"}]}")
                                   << "The file \"doc.js\" is not a library document: it is not "
                                      "UTF-8 text."
                                   << 0 << ""
                                   << "";
    }

    void load()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        QFETCH(int, symbols);
        QFETCH(QString, check);
        QFETCH(QString, expected);

        TViraGlyphbook book = exampleLibrary(); // a load starts by emptying the library
        QCOMPARE(loadError(book, bytes), error);
        QCOMPARE(book.Symbols.size(), symbols);
        if (check.isEmpty())
            return;
        const TViraSymbol &s = *book.Symbols.last();
        QString actual;
        if (check == u"Symbol")
            actual = s.Symbol ? QStringLiteral("true") : QStringLiteral("false");
        else if (check == u"Identifier")
            actual = s.Identifier;
        else if (check == u"ImageX")
            actual = QString::number(s.ImageX);
        else if (check == u"ImageY")
            actual = QString::number(s.ImageY);
        else if (check == u"TextX")
            actual = QString::number(s.TextX);
        else if (check == u"Names")
            for (const TStringPairs &p : s.Names)
                actual += p.Name + u'=' + p.Value + u';';
        else if (check == u"StateImages")
            for (const TStringPairs &p : s.StateImages)
                actual += p.Name + u'=' + p.Value + u';';
        QCOMPARE(actual, expected);
    }

    // format holds one symbol at a time, and must give what a load and a save give: the same
    // bytes, or the same error with the target untouched.
    void formatFile_data()
    {
        load_data();
        TViraGlyphbook large;
        for (int i = 0; i < 5000; ++i) {
            auto symbol = std::make_shared<TViraSymbol>();
            symbol->Identifier = QStringLiteral("symbol %1 \u00e9\r\nline").arg(i);
            symbol->Image = QStringLiteral("C:\\Graphics\\pump_%1.png").arg(i);
            symbol->Symbol = i % 3 != 0;
            symbol->TextX = i;
            symbol->Names = {pair("en", "Pump"), pair("sv", "")};
            symbol->StateImages = {pair("1", "run.png"), pair("2", "stop.png")};
            large.Symbols.append(symbol);
        }
        const QByteArray document = large.SaveToBytes(); // more than one piece of the writer
        QVERIFY(document.size() > 1 << 20);
        const auto row = [](const char *name, const QByteArray &bytes) {
            QTest::newRow(name) << bytes << QString() << 0 << QString() << QString();
        };
        row("large", document);
        row("large, parse failure at the end", document.chopped(8) + "x}]}");
        QByteArray badLast = document;
        badLast.replace(badLast.lastIndexOf("\"TextX\": "), 10, "\"TextX\": \"t\", \"u\": ");
        row("large, bad member in the last symbol", badLast);
        row("GLYPHBOOK twice, the last counts",
            R"({"GLYPHBOOK": [{"ImageX": 1, "ImageY": 2}], "GLYPHBOOK": [{"ImageX": 3, "ImageY": 4}]})");
        row("GLYPHBOOK twice, bad member in the first",
            R"({"GLYPHBOOK": [{"ImageX": "x"}], "GLYPHBOOK": [{"ImageX": 3, "ImageY": 4}]})");
        row("GLYPHBOOK an object",
            R"({"GLYPHBOOK": {"b": {"ImageX": 1, "ImageY": 2}, "a": {"ImageX": 3, "ImageY": 4}}})");
        row("other members", R"({"x": [1], "GLYPHBOOK": [{"ImageX": 1, "ImageY": 2}], "y": {}})");
        row("two marks", "\xEF\xBB\xBF\xEF\xBB\xBF" + oneSymbol(R"("ImageX": 1, "ImageY": 2)"));
        row("lone CR and LF in strings",
            oneSymbol("\"Identifier\": \"a\rb\nc\\r\", \"ImageX\": 1, \"ImageY\": 2"));
    }

    void formatFile()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in.js"));
        const QString out = dir.filePath(QStringLiteral("out.js"));
        writeFile(in, bytes);
        QString expectedError;
        QByteArray expected;
        try {
            TViraGlyphbook book;
            book.LoadFromFile(in);
            expected = book.SaveToBytes();
        } catch (const EGlyphbookError &e) {
            expectedError = e.message();
        }

        const QByteArray earlier("earlier");
        writeFile(out, earlier);
        QString error;
        try {
            TViraGlyphbook::FormatFile(in, out);
        } catch (const EGlyphbookError &e) {
            error = e.message();
        }
        QCOMPARE(error, expectedError);
        QCOMPARE(readFile(out), expectedError.isEmpty() ? expected : earlier);
        if (!expectedError.isEmpty())
            return;
        TViraGlyphbook::FormatFile(in, in); // in place: the text was read before
        QCOMPARE(readFile(in), expected);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2); // no temporary left
    }

    void missingFileChangesNothing()
    {
        QTemporaryDir dir;
        TViraGlyphbook book = exampleLibrary();
        QVERIFY(!book.LoadFromFile(dir.filePath(QStringLiteral("missing.js"))));
        QVERIFY(!book.LoadFromFile(dir.path()));
        QCOMPARE(book.Symbols.size(), 2);
    }

    void saveErrors()
    {
        QTemporaryDir dir;
        TViraGlyphbook book = exampleLibrary();
        const QString path = dir.filePath(QStringLiteral("no-such-folder/lib.js"));
        try {
            book.SaveToFile(path);
            QFAIL("no error raised");
        } catch (const EFileError &e) {
            QVERIFY2(
                e.message().startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(path)),
                qPrintable(e.message()));
        }
        // Empty display names were filled before the file was touched.
        QCOMPARE(book.Symbols[0]->FindName(QStringLiteral("sv")), QStringLiteral("pump"));
    }

#ifdef Q_OS_UNIX
    void failedSaveKeepsFormerFile()
    {
        // A file size limit makes the write itself fail half-way, as a full disk would.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lib.js"));
        const QByteArray former("former content");
        writeFile(path, former);

        TViraGlyphbook book = exampleLibrary();
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 100;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const QString message = saveError(book, path);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        // The system's reason, not Qt's "Unknown error" for a write that fell short.
        QCOMPARE(message, QStringLiteral("Cannot write file \"%1\". %2")
                              .arg(path, QString::fromLocal8Bit(std::strerror(EFBIG))));
        QCOMPARE(readFile(path), former);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList(QStringLiteral("lib.js")));
    }
#endif

    void saveOntoPipesAndDevices_data()
    {
        QTest::addColumn<bool>("fifo"); // or a full device
        QTest::newRow("fifo") << true;
        QTest::newRow("full device") << false;
    }
    void saveOntoPipesAndDevices()
    {
        QFETCH(bool, fifo);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("node"));
        const QByteArray node = QFile::encodeName(path);
        if (fifo) {
            QCOMPARE(::mkfifo(node.constData(), 0600), 0);
        } else {
            if (!makeFullDevice(path))
                QSKIP("only the administrator can make a device");
        }
        // The reading end, so that opening the pipe for writing does not wait.
        const int reader = fifo ? ::open(node.constData(), O_RDONLY | O_NONBLOCK) : -1;
        TViraGlyphbook book = exampleLibrary();
        const QString message = saveError(book, path);
        struct stat st;
        QCOMPARE(::stat(node.constData(), &st), 0);
        if (fifo) {
            QCOMPARE(message, QString());
            QVERIFY(S_ISFIFO(st.st_mode));
            const QByteArray expected = book.SaveToBytes();
            QByteArray got(expected.size() + 1, '\0');
            QCOMPARE(::read(reader, got.data(), size_t(got.size())), ssize_t(expected.size()));
            got.chop(1);
            QCOMPARE(got, expected);
            ::close(reader);
        } else {
            QVERIFY(S_ISCHR(st.st_mode));
            QCOMPARE(message, QStringLiteral("Cannot write file \"%1\". %2")
                                  .arg(path, QString::fromLocal8Bit(std::strerror(ENOSPC))));
        }
    }

    void saveInReadOnlyFolder()
    {
        // No temporary file can be made beside the document, but the document can be written.
        QTemporaryDir dir;
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                              QFile::ReadOther | QFile::ExeOther);
        const QString folder = dir.filePath(QStringLiteral("read-only"));
        const QString path = folder + QStringLiteral("/lib.js");
        writeFile(path, "former content, longer than nothing");
        QFile::setPermissions(path, QFile::Permissions(0x6666));
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                          QFile::ExeOther);
        // The administrator may create files anywhere; an ordinary user's file rights apply.
        const bool administrator = ::geteuid() == 0;
        if (administrator) {
            ::setfsgid(65534);
            ::setfsuid(65534);
        }
        TViraGlyphbook book = exampleLibrary();
        const QString message = saveError(book, path);
        if (administrator) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(message, QString());
        QCOMPARE(readFile(path), book.SaveToBytes());
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("lib.js")});
    }

    void unreadableFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("locked.js"));
        writeFile(path, "{}");
        QFile::setPermissions(path, QFileDevice::Permissions());
        QFile probe(path);
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("permissions do not stop this user from reading");
        TViraGlyphbook book = exampleLibrary();
        try {
            book.LoadFromFile(path);
            QFAIL("no error raised");
        } catch (const EFileError &e) {
            QVERIFY(e.message().startsWith(QStringLiteral("Cannot open file \"%1\". ").arg(path)));
        }
        QVERIFY(book.Symbols.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"
