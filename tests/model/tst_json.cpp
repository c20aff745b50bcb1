#include "model/JsonValue.h"

#include <QTest>

#include <vector>

namespace
{

QString compact(const TJsonValuePtr &value)
{
    return value ? value->AsJSon(false, false) : QStringLiteral("<none>");
}

QStringList memberNames(const TJsonValuePtr &object)
{
    QStringList names;
    TJsonValue::TMemberEnumerator it = object->GetMembers();
    while (it.MoveNext())
        names << it.Name();
    return names;
}

} // namespace

class TestJson : public QObject
{
    Q_OBJECT

private slots:
    void memberHash()
    {
        QCOMPARE(JsonMemberHash(u""), 0u);
        QCOMPARE(JsonMemberHash(u"a"), 0x9E370062u);
        QCOMPARE(JsonMemberHash(u"abc"), 0xED3E14A9u);
    }

    void memberOrder()
    {
        const TJsonValuePtr object = TJsonValue::NewObject();
        for (const char16_t *name : {u"Identifier", u"Image", u"ImageX", u"ImageY", u"NAME",
                                     u"Symbol", u"TextAlign", u"TextX", u"TextY", u"StateImages"})
            object->PutI(QString::fromUtf16(name), 1);
        QCOMPARE(memberNames(object),
                 QStringLiteral("ImageY ImageX Symbol StateImages TextAlign Identifier Image TextY "
                                "TextX NAME")
                     .split(u' '));

        const TJsonValuePtr small = TJsonValue::NewObject();
        small->PutI(QStringLiteral("a"), 1);
        small->PutI(QStringLiteral("b"), 2);
        small->PutI(QStringLiteral("en"), 3);
        small->PutI(QStringLiteral("sv"), 4);
        QCOMPARE(compact(small), QStringLiteral(R"({"b":2,"a":1,"sv":4,"en":3})"));

        // "b\x01" and "a\x82" share a hash: the smaller name by code units comes first.
        const QString b1 = QStringLiteral("b") + QChar(0x01);
        const QString a82 = QStringLiteral("a") + QChar(0x82);
        QCOMPARE(JsonMemberHash(b1), JsonMemberHash(a82));
        const TJsonValuePtr tie = TJsonValue::NewObject();
        tie->PutI(b1, 1);
        tie->PutI(a82, 2);
        QCOMPARE(memberNames(tie), QStringList({a82, b1}));
        // The order depends on the names only, whatever the order of putting or parsing.
        QCOMPARE(memberNames(ParseString(QStringLiteral("{\"%1\":1,\"%2\":2}").arg(b1, a82))),
                 QStringList({a82, b1}));
    }

    void putReplacesInPlace()
    {
        const TJsonValuePtr object = TJsonValue::NewObject();
        object->PutI(QStringLiteral("a"), 1);
        object->PutI(QStringLiteral("b"), 2);
        object->PutS(QStringLiteral("a"), QStringLiteral("x"));
        QCOMPARE(compact(object), QStringLiteral(R"({"b":2,"a":"x"})"));
        // The empty name is a name like any other.
        object->PutI(QString(), 0);
        QCOMPARE(object->GetS(u""), QStringLiteral("0"));
    }

    void valuesAreSharedByReference()
    {
        const TJsonValuePtr array = TJsonValue::NewArray();
        const TJsonValuePtr item = TJsonValue::NewObject();
        array->PutO(0, item);
        item->PutS(QStringLiteral("k"), QStringLiteral("v"));
        QCOMPARE(array->GetO(0).data(), item.data());
        QCOMPARE(compact(array), QStringLiteral(R"([{"k":"v"}])"));

        const TJsonValuePtr holder = TJsonValue::NewObject();
        holder->PutO(QStringLiteral("inner"), array);
        holder->GetO(u"inner")->PutO(1, TJsonValue::NewInt(3));
        QCOMPARE(array->Length(), 2);
    }

    void gettersAndAbsentValues()
    {
        const TJsonValuePtr object = ParseString(u"{a: [1], s: 'text', n: null, i: 42}");
        QVERIFY(object);
        QVERIFY(!object->GetO(u"missing"));
        QCOMPARE(object->GetO(u"n")->Kind(), stNull); // a null member is not an absent one
        QCOMPARE(object->GetA(u"a")->Length(), 1);
        QVERIFY(!object->GetA(u"s"));
        QCOMPARE(object->GetS(u"s"), QStringLiteral("text"));
        QCOMPARE(object->GetS(u"i"), QStringLiteral("42"));
        QCOMPARE(object->GetS(u"n"), QString());
        QCOMPARE(object->GetS(u"missing"), QString());
        QCOMPARE(object->GetN(u"missing")->Kind(), stNull);
        QCOMPARE(object->GetN(u"i").data(), object->GetO(u"i").data());
        QCOMPARE(object->GetO(u"s")->AsString(), QStringLiteral("text"));
        QCOMPARE(object->GetO(u"a")->AsString(), QStringLiteral("[1]"));
        QCOMPARE(object->AsString(), QStringLiteral(R"({"s":"text","n":null,"i":42,"a":[1]})"));

        // Getters on a non-object give nothing; putters leave it alone.
        const TJsonValuePtr text = TJsonValue::NewString(QStringLiteral("t"));
        text->PutI(QStringLiteral("x"), 1);
        QVERIFY(!text->GetO(u"x"));
        QCOMPARE(text->GetS(u"x"), QString());
        QCOMPARE(text->MemberCount(), 0);
        QVERIFY(!text->GetMembers().MoveNext());
    }

    void valuesOutliveTheirDocument()
    {
        TJsonValuePtr inner;
        TJsonValuePtr holder = TJsonValue::NewObject();
        {
            const TJsonValuePtr document = ParseString(u"{a: {b: 'text'}, c: [1, 2]}");
            inner = document->GetO(u"a");
            holder->PutO(QStringLiteral("c"), document->GetO(u"c"));
        }
        QCOMPARE(inner->GetS(u"b"), QStringLiteral("text"));
        QCOMPARE(holder->AsString(), QStringLiteral(R"({"c":[1,2]})"));
        inner = TJsonValuePtr();
        QCOMPARE(holder->GetO(u"c")->Length(), 2);
    }

    void arrayGrowth()
    {
        const TJsonValuePtr array = TJsonValue::NewArray();
        array->PutO(2, TJsonValue::NewInt(7));
        QCOMPARE(array->Length(), 3);
        QVERIFY(!array->GetO(0));
        QVERIFY(!array->GetO(3));
        QVERIFY(!array->GetO(-1));
        QCOMPARE(compact(array), QStringLiteral("[null,null,7]"));
        array->PutO(100, TJsonValue::NewInt(1));
        QCOMPARE(array->Length(), 101);
        QCOMPARE(array->GetO(2)->AsInteger(), 7);
    }

    void enumerator()
    {
        QStringList seen;
        const TJsonValuePtr object = ParseString(u"{a: 1, b: 2, c: [3, 4]}");
        for (const TJsonValuePtr &value : {object, object->GetO(u"c"), object->GetO(u"a")}) {
            TJsonValue::TEnumerator it = value->GetEnumerator();
            while (it.MoveNext())
                seen << it.Current()->AsString();
            seen << QStringLiteral("|");
        }
        QCOMPARE(seen.join(u' '), QStringLiteral("[3,4] 2 1 | 3 4 | |"));
    }

    void writer_data()
    {
        QTest::addColumn<QString>("json");
        QTest::addColumn<QString>("indented");
        QTest::addColumn<QString>("compact");
        QTest::newRow("empty object") << "{}"
                                      << "{}"
                                      << "{}";
        QTest::newRow("empty array") << "[]"
                                     << "[]"
                                     << "[]";
        QTest::newRow("array") << "[1,2]"
                               << "[\r\n 1,2]"
                               << "[1,2]";
        QTest::newRow("object") << "{x:5}"
                                << "{\r\n \"x\": 5\r\n}"
                                << R"({"x":5})";
        QTest::newRow("objects in array") << "[{a:1},{b:[]}]"
                                          << "[\r\n {\r\n  \"a\": 1\r\n },{\r\n  \"b\": []\r\n }]"
                                          << R"([{"a":1},{"b":[]}])";
        QTest::newRow("array in object") << "{a:[{}]}"
                                         << "{\r\n \"a\": [\r\n  {}]\r\n}"
                                         << R"({"a":[{}]})";
        QTest::newRow("scalars") << "[true,false,null,-9223372036854775808,'s']"
                                 << "[\r\n true,false,null,-9223372036854775808,\"s\"]"
                                 << R"([true,false,null,-9223372036854775808,"s"])";
        QTest::newRow("numbers") << "[1.5,-0.25,2.,1e3,0.12345]"
                                 << "[\r\n 1.5,-0.25,2.0,1000,0.12345]"
                                 << "[1.5,-0.25,2.0,1000,0.12345]";
    }

    void writer()
    {
        QFETCH(QString, json);
        QFETCH(QString, indented);
        QFETCH(QString, compact);
        const TJsonValuePtr value = ParseString(json);
        QVERIFY(value);
        QCOMPARE(value->AsJSon(true, false), indented);
        QCOMPARE(value->AsJSon(false, false), compact);
    }

    void escaping()
    {
        const QString raw = QStringLiteral("a/b\\c\t\"d\"\r\n\u00e9\u4e2d") + QChar(0) + u'x';
        const TJsonValuePtr value = TJsonValue::NewObject();
        value->PutS(raw, raw);
        const QString quoted = QStringLiteral("\"a/b\\\\c\t\\\"d\\\"\r\n\u00e9\u4e2d\\u0000x\"");
        QCOMPARE(value->AsJSon(false, false), QStringLiteral("{%1:%1}").arg(quoted));
        QCOMPARE(value->AsJSon(false, true),
                 QStringLiteral("{%1:%1}").arg(
                     QStringLiteral("\"a/b\\\\c\\t\\\"d\\\"\\r\\n\\u00E9\\u4E2D\\u0000x\"")));
        // Both forms read back as the same text.
        QCOMPARE(ParseString(value->AsJSon(true, false))->GetS(raw), raw);
        QCOMPARE(ParseString(value->AsJSon(false, true))->GetS(raw), raw);
    }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected"); // compact text, or <none> for a failed parse
        QTest::addColumn<int>("kind");
        QTest::newRow("plain") << R"({"a": [1, "x"]})"
                               << R"({"a":[1,"x"]})" << int(stObject);
        QTest::newRow("trailing commas") << "{a: [1, 2,],}"
                                         << R"({"a":[1,2]})" << int(stObject);
        QTest::newRow("single quotes") << "['it\"s', 'a\\'b']"
                                       << "[\"it\\\"s\",\"a'b\"]" << int(stArray);
        QTest::newRow("unquoted name keeps blanks") << "{na me : 1}"
                                                    << R"({"na me ":1})" << int(stObject);
        QTest::newRow("unquoted texts") << "[a b , c d]"
                                        << R"(["a b","c d"])" << int(stArray);
        QTest::newRow("unquoted text to closer") << "{a: x]y}"
                                                 << "{\"a\":\"x]y\"}" << int(stObject);
        QTest::newRow("unquoted text at top") << " hello world \r\n"
                                              << "\"hello world\"" << int(stString);
        QTest::newRow("empty text") << ""
                                    << R"("")" << int(stString);
        QTest::newRow("comments only") << " /* c */ // d\n"
                                       << R"("")" << int(stString);
        QTest::newRow("comments") << "/*x*/{ // y\n a: /*z*/ 1 } "
                                  << R"({"a":1})" << int(stObject);
        QTest::newRow("first value only") << "{a: 1} trailing [ garbage"
                                          << R"({"a":1})" << int(stObject);
        QTest::newRow("duplicate keeps later") << "{a: 1, b: 2, a: 3}"
                                               << R"({"b":2,"a":3})" << int(stObject);
        QTest::newRow("literals") << "[true, false, null]"
                                  << "[true,false,null]" << int(stArray);
        QTest::newRow("not literals")
            << "[True, nul, true_, null.x, falsey]"
            << R"(["True","nul","true_","null.x","falsey"])" << int(stArray);
        QTest::newRow("int") << "-12"
                             << "-12" << int(stInt);
        QTest::newRow("currency") << "12.3456"
                                  << "12.3456" << int(stCurrency);
        QTest::newRow("five decimals") << "12.34567"
                                       << "12.34567" << int(stDouble);
        QTest::newRow("exponent") << "1e2"
                                  << "100" << int(stDouble);
        QTest::newRow("escapes") << R"("\b\f\n\r\t\u0041\x42\q\/")"
                                 << QStringLiteral("\"\b\f\n\r\tABq/\"") << int(stString);
        QTest::newRow("raw line break in string") << "'a\nb'"
                                                  << "\"a\nb\"" << int(stString);
        QTest::newRow("empty member value") << "{a:}"
                                            << R"({"a":""})" << int(stObject);
        QTest::newRow("unclosed array") << "[1, 2"
                                        << "<none>" << -1;
        QTest::newRow("unclosed object") << "{a: 1"
                                         << "<none>" << -1;
        QTest::newRow("unclosed string") << "'abc"
                                         << "<none>" << -1;
        QTest::newRow("missing colon") << R"({"a" 1})"
                                       << "<none>" << -1;
        QTest::newRow("missing separator") << "[1 2]"
                                           << "<none>" << -1;
        QTest::newRow("bad unquoted name") << "{[a]: 1}"
                                           << "<none>" << -1;
        QTest::newRow("short \\u escape") << R"("\u12")"
                                          << "<none>" << -1;
        QTest::newRow("short \\x escape") << R"("\x4")"
                                          << "<none>" << -1;
        QTest::newRow("malformed number") << "1-2"
                                          << "<none>" << -1;
        QTest::newRow("32 levels")
            << QString(31, u'[') + QStringLiteral("[]") + QString(31, u']')
            << QString(31, u'[') + QStringLiteral("[]") + QString(31, u']') << int(stArray);
        QTest::newRow("33 levels")
            << QString(32, u'[') + QStringLiteral("1") + QString(32, u']') << "<none>" << -1;
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QFETCH(int, kind);
        // The text as UTF-16 and as UTF-8 parses alike.
        for (const TJsonValuePtr &value : {ParseString(text), ParseUtf8(text.toUtf8())}) {
            QCOMPARE(compact(value), expected);
            if (value)
                QCOMPARE(int(value->Kind()), kind);
        }
    }

    void elementsHandedOneByOne_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("result"); // TJsonElementsResult
        QTest::addColumn<QString>("handed");

        const int handed = int(TJsonElementsResult::Handed);
        const int other = int(TJsonElementsResult::OtherShape);
        const int failed = int(TJsonElementsResult::Failed);
        QTest::newRow("elements") << "{\"a\": [1, {\"x\": \"y\"}, [2]]}" << handed
                                  << "1|{\"x\":\"y\"}|[2]|";
        QTest::newRow("other members around it")
            << "{\"b\": {\"c\": [3]}, \"a\": [1], 'd': 4} trailing" << handed << "1|";
        QTest::newRow("lenient") << "// c\n{a: [x, 'y',], }" << handed << "\"x\"|\"y\"|";
        QTest::newRow("escaped name") << "{\"\\u0061\": [1]}" << handed << "1|";
        QTest::newRow("empty array") << "{\"a\": []}" << handed << "";
        QTest::newRow("unquoted name with a blank") << "{a : [1]}" << other << "";
        QTest::newRow("twice") << "{\"a\": [1], \"a\": [2]}" << other << "1|";
        QTest::newRow("not an array") << "{\"a\": {\"b\": 1}}" << other << "";
        QTest::newRow("missing") << "{\"b\": [1]}" << other << "";
        QTest::newRow("not an object") << "[{\"a\": [1]}]" << other << "";
        QTest::newRow("bad element") << "{\"a\": [1, {\"x\" 2}]}" << failed << "1|";
        QTest::newRow("bad later member") << "{\"a\": [1], \"b\" 2}" << failed << "1|";
        QTest::newRow("unclosed") << "{\"a\": [1]" << failed << "1|";
        QTest::newRow("too deep element") << QStringLiteral("{\"a\": [") + QString(31, u'[') +
                                                 QString(31, u']') + QStringLiteral("]}")
                                          << failed << "";
    }

    void elementsHandedOneByOne()
    {
        QFETCH(QString, text);
        QFETCH(int, result);
        QFETCH(QString, handed);
        QString seen;
        // Every other element is kept past its call: its arena must then stay alive and unused.
        std::vector<TJsonValuePtr> kept;
        const TJsonElementsResult actual =
            ParseUtf8Elements(text.toUtf8(), u"a", [&](const TJsonValuePtr &element) {
                seen += compact(element) + u'|';
                if (seen.count(u'|') % 2 == 1)
                    kept.push_back(element);
            });
        QCOMPARE(int(actual), result);
        QCOMPARE(seen, handed);
        // It fails exactly where a whole parse fails.
        QCOMPARE(actual == TJsonElementsResult::Failed, !ParseUtf8(text.toUtf8()));
        QString keptText;
        for (const TJsonValuePtr &value : kept)
            keptText += compact(value) + u'|';
        const QStringList all = handed.split(u'|', Qt::SkipEmptyParts);
        QString expectedKept;
        for (qsizetype i = 0; i < all.size(); i += 2)
            expectedKept += all[i] + u'|';
        QCOMPARE(keptText, expectedKept);
    }

    void parseErrorPosition()
    {
        TJsonParseError error;
        QVERIFY(!ParseString(u"{\r\n \"a\": 1,\r\n \"b\" 2\r\n}", &error));
        QCOMPARE(error.Line, 3);
        QCOMPARE(error.Column, 6);
        QVERIFY(!error.Message.isEmpty());

        QVERIFY(!ParseString(u"[1,\n[", &error));
        QCOMPARE(error.Line, 2);
        QCOMPARE(error.Column, 2);

        // Columns count UTF-16 code units in UTF-8 text too: the emoji takes two.
        QVERIFY(!ParseUtf8(QStringLiteral("[\"\u00e9\U0001F600\" 1]").toUtf8(), &error));
        QCOMPARE(error.Line, 1);
        QCOMPARE(error.Column, 8);
    }
};

QTEST_GUILESS_MAIN(TestJson)
#include "tst_json.moc"
