#include "model/GlyphbookError.h"
#include "model/ImagePath.h"
#include "model/IntegerText.h"
#include "model/ViraSymbol.h"

#include <QTest>

class TestModel : public QObject
{
    Q_OBJECT

private slots:
    void addCopyIsIndependent()
    {
        TViraGlyphbook book;
        auto source = std::make_shared<TViraSymbol>();
        source->Identifier = QStringLiteral("pump");
        source->Symbol = true;
        source->ImageX = 3;
        source->TextAlign = TVSTextAlign(7);
        source->Error = true;
        source->Names = {{QStringLiteral("en"), QStringLiteral("Pump")}};
        source->StateImages = {{QStringLiteral("1"), QStringLiteral("a.png")},
                               {QStringLiteral("2"), QStringLiteral("b.png")}};
        book.Symbols.append(source);

        const TViraSymbolPtr copy = book.AddCopy(*source);
        QCOMPARE(book.Symbols.size(), 2);
        QCOMPARE(book.Symbols.last(), copy);
        QVERIFY(copy != source);
        QCOMPARE(copy->Identifier, source->Identifier);
        QCOMPARE(copy->ImageX, 3);
        QCOMPARE(int(copy->TextAlign), 7);
        QVERIFY(!copy->Error);
        QVERIFY(source->Error);

        copy->Names[0].Value = QStringLiteral("Changed");
        copy->StateImages.removeAt(0);
        QCOMPARE(source->Names[0].Value, QStringLiteral("Pump"));
        QCOMPARE(source->StateImages.size(), 2);
    }

    void addCopyOfEmptySymbol()
    {
        TViraGlyphbook book;
        const TViraSymbolPtr copy = book.AddCopy(TViraSymbol());
        QCOMPARE(book.Symbols.size(), 1);
        QVERIFY(copy->Names.isEmpty());
        QVERIFY(copy->StateImages.isEmpty());
    }

    void picturePathsInOrder()
    {
        TViraSymbol symbol;
        symbol.Image = QStringLiteral("main.png");
        symbol.StateImages = {{QStringLiteral("1"), QStringLiteral("on.png")},
                              {QStringLiteral("Alarm"), QString()},
                              {QStringLiteral("1"), QStringLiteral("on.png")}};
        const QStringList expected = {QStringLiteral("main.png"), QStringLiteral("on.png"),
                                      QString(), QStringLiteral("on.png")};
        QCOMPARE(PicturePaths(symbol), expected);
        // A symbol without pictures still has its (empty) main image.
        QCOMPARE(PicturePaths(TViraSymbol()), QStringList{QString()});

        QStringList seen;
        ReplacePicturePaths(symbol, [&](const QString &stored) {
            seen << stored;
            return u'/' + QString::number(seen.size()) + stored;
        });
        QCOMPARE(seen, expected);
        QCOMPARE(PicturePaths(symbol),
                 QStringList({QStringLiteral("/1main.png"), QStringLiteral("/2on.png"),
                              QStringLiteral("/3"), QStringLiteral("/4on.png")}));
        // The state values stay as they were.
        QCOMPARE(symbol.StateImages[1].Name, QStringLiteral("Alarm"));
    }

    void findName()
    {
        TViraSymbol symbol;
        symbol.Names = {{QStringLiteral("en"), QStringLiteral("Pump")},
                        {QStringLiteral("en"), QStringLiteral("Pumpe")},
                        {QStringLiteral("sv"), QString()}};
        QCOMPARE(symbol.FindName(QStringLiteral("en")), QStringLiteral("Pump"));
        QCOMPARE(symbol.FindName(QStringLiteral("EN")), QString());
        QCOMPARE(symbol.FindName(QStringLiteral("sv")), QString());
        QCOMPARE(symbol.FindName(QStringLiteral("de")), QString());
    }

    void textAlign_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("align");
        QTest::newRow("Right") << "Right" << int(vstaRight);
        QTest::newRow("Center") << "Center" << int(vstaCenter);
        QTest::newRow("Left") << "Left" << int(vstaLeft);
        QTest::newRow("lower center") << "center" << int(vstaRight);
        QTest::newRow("blank after") << "Left " << int(vstaRight);
        QTest::newRow("empty") << "" << int(vstaRight);
        QTest::newRow("Unknown") << "Unknown" << int(vstaRight);
    }

    void textAlign()
    {
        QFETCH(QString, text);
        QFETCH(int, align);
        QCOMPARE(int(StrToTextAlign(text)), align);
    }

    void textAlignToStr()
    {
        QCOMPARE(TextAlignToStr(vstaRight), QStringLiteral("Right"));
        QCOMPARE(TextAlignToStr(vstaCenter), QStringLiteral("Center"));
        QCOMPARE(TextAlignToStr(vstaLeft), QStringLiteral("Left"));
        QCOMPARE(TextAlignToStr(TVSTextAlign(3)), QStringLiteral("Unknown"));
        QCOMPARE(TextAlignToStr(TVSTextAlign(255)), QStringLiteral("Unknown"));
    }

    void integerText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "12" << true << 12;
        QTest::newRow("leading blanks") << "  12" << true << 12;
        QTest::newRow("plus") << "+7" << true << 7;
        QTest::newRow("minus") << "-8" << true << -8;
        QTest::newRow("leading zeros") << "007" << true << 7;
        QTest::newRow("max") << "2147483647" << true << 2147483647;
        QTest::newRow("min") << "-2147483648" << true << int(-2147483647 - 1);
        QTest::newRow("above max") << "2147483648" << false << 0;
        QTest::newRow("below min") << "-2147483649" << false << 0;
        QTest::newRow("many digits") << "99999999999999999999999" << false << 0;
        QTest::newRow("dollar") << "$C" << true << 12;
        QTest::newRow("x") << "x1f" << true << 31;
        QTest::newRow("X") << "XFF" << true << 255;
        QTest::newRow("0x") << "0x10" << true << 16;
        QTest::newRow("0X") << "0XaB" << true << 171;
        QTest::newRow("eight F") << "$FFFFFFFF" << true << -1;
        QTest::newRow("hex min") << "$80000000" << true << int(-2147483647 - 1);
        QTest::newRow("negated hex") << "-$10" << true << -16;
        QTest::newRow("nine hex digits") << "$100000000" << false << 0;
        QTest::newRow("hex leading zeros") << "$000000000001" << true << 1;
        QTest::newRow("blank before hex") << " 0x1" << true << 1;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("blanks only") << "   " << false << 0;
        QTest::newRow("lone sign") << "-" << false << 0;
        QTest::newRow("lone prefix") << "$" << false << 0;
        QTest::newRow("lone 0x") << "0x" << false << 0;
        QTest::newRow("sign and prefix") << "+0x" << false << 0;
        QTest::newRow("trailing blank") << "12 " << false << 0;
        QTest::newRow("trailing letter") << "12a" << false << 0;
        QTest::newRow("tab before") << "\t12" << false << 0;
        QTest::newRow("blank after sign") << "- 1" << false << 0;
        QTest::newRow("two signs") << "+-1" << false << 0;
        QTest::newRow("decimal point") << "12.5" << false << 0;
        QTest::newRow("hex without prefix") << "C" << false << 0;
        QTest::newRow("fullwidth digit") << QString(QChar(0xFF11)) << false << 0;
    }

    void integerText()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        const std::optional<qint32> result = TryStrToInt(text);
        QCOMPARE(result.has_value(), valid);
        if (valid) {
            QCOMPARE(*result, value);
            QCOMPARE(StrToInt(text), value);
        } else {
            try {
                StrToInt(text);
                QFAIL("no error raised");
            } catch (const EConvertError &e) {
                QCOMPARE(e.message(),
                         QStringLiteral("'%1' is not a valid integer value").arg(text));
            }
        }
    }

    void imagePaths_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("project");
        QTest::addColumn<QString>("resolved");
        QTest::newRow("unix path") << "/art/pump.png"
                                   << "pump.png"
                                   << "/p/lib.js"
                                   << "/art/pump.png";
        QTest::newRow("windows path") << "D:\\Art\\pump.png"
                                      << "pump.png"
                                      << "/p/lib.js"
                                      << "D:/Art/pump.png";
        QTest::newRow("relative backslash") << "img\\a.png"
                                            << "a.png"
                                            << "/p/lib.js"
                                            << "img/a.png";
        QTest::newRow("mixed separators") << "C:/x\\y/a b.png"
                                          << "a b.png"
                                          << "/p/lib.js"
                                          << "C:/x/y/a b.png";
        QTest::newRow("drive only") << "C:pump.png"
                                    << "pump.png"
                                    << "/p/lib.js"
                                    << "C:pump.png";
        QTest::newRow("bare") << "pump.png"
                              << "pump.png"
                              << "/p/lib.js"
                              << "/p/pump.png";
        QTest::newRow("bare, windows project") << "pump.png"
                                               << "pump.png"
                                               << "C:\\p\\lib.js"
                                               << "C:\\p/pump.png";
        QTest::newRow("bare, no project") << "pump.png"
                                          << "pump.png"
                                          << ""
                                          << "/pump.png";
        QTest::newRow("bare, project without folder") << "a.png"
                                                      << "a.png"
                                                      << "lib.js"
                                                      << "/a.png";
        QTest::newRow("empty") << ""
                               << ""
                               << "/p/lib.js"
                               << "/p/";
    }

    void imagePaths()
    {
        QFETCH(QString, stored);
        QFETCH(QString, fileName);
        QFETCH(QString, project);
        QFETCH(QString, resolved);
        QCOMPARE(FileNamePart(stored), fileName);
        QCOMPARE(ResolveImagePath(stored, project), resolved);
    }

    void integerWrittenBackConverts()
    {
        for (qint32 v : {0, -1, 42, 2147483647, -2147483647 - 1})
            QCOMPARE(StrToInt(IntToStr(v)), v);
        QCOMPARE(IntToStr(-5), QStringLiteral("-5"));
    }
};

QTEST_GUILESS_MAIN(TestModel)
#include "tst_model.moc"
