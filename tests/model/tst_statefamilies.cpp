// The naming rule that groups picture files into state families: main picture, numbered
// states, the named states in any case, and what happens to pictures that do not fit.
#include "model/StateFamilies.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestStateFamilies : public QObject
{
    Q_OBJECT

private slots:
    void grouping_data();
    void grouping();
    void ungroupedKeepsEveryFileAlone();
};

namespace
{
/// A family as "main: state=file, state=file", file names relative to /pics.
QString describe(const TStateFamily &Family)
{
    QStringList states;
    for (const TStringPairs &state : Family.States)
        states.append(state.Name + u'=' + state.Value.mid(6));
    return Family.Main.mid(6) + u':' + (states.isEmpty() ? QString() : u' ' + states.join(u", "_s));
}

QStringList list(std::initializer_list<const char *> Texts)
{
    QStringList texts;
    for (const char *text : Texts)
        texts.append(QString::fromUtf8(text));
    return texts;
}

QStringList inPics(const QStringList &Names)
{
    QStringList files;
    for (const QString &name : Names)
        files.append(u"/pics/"_s + name);
    return files;
}
} // namespace

void TestStateFamilies::grouping_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("families");
    QTest::newRow("main, numbers and alarm in any order")
        << list({"pump_10.png", "pump_alarm.png", "pump.png", "pump_2.png"})
        << list({"pump.png: 2=pump_2.png, 10=pump_10.png, Alarm=pump_alarm.png"});
    QTest::newRow("named states in any case, in strip order")
        << list({"Fan_MO.png", "Fan.png", "Fan_mo_OFF.png", "Fan_ALARM.gif"})
        << list({"Fan.png: Alarm=Fan_ALARM.gif, MO_Off=Fan_mo_OFF.png, MO=Fan_MO.png"});
    QTest::newRow("no main: the lowest state is the main picture")
        << list({"lamp_2.png", "lamp_1.png", "lamp_alarm.png"})
        << list({"lamp_1.png: 2=lamp_2.png, Alarm=lamp_alarm.png"});
    QTest::newRow("no number: the first named state is the main picture")
        << list({"valve_mo.png", "valve_alarm.png"}) << list({"valve_alarm.png: MO=valve_mo.png"});
    QTest::newRow("a lone numbered picture is a plain symbol")
        << list({"icon_16.png"}) << list({"icon_16.png:"});
    QTest::newRow("families in the order of their first pictures")
        << list({"b_1.png", "a.png", "b.png", "a_1.png"})
        << list({"b.png: 1=b_1.png", "a.png: 1=a_1.png"});
    QTest::newRow("names differing in case are different families")
        << list({"pump.png", "Pump_1.png"}) << list({"pump.png:", "Pump_1.png:"});
    QTest::newRow("negative numbers and leading zeros")
        << list({"t.png", "t_007.png", "t_-3.png"}) << list({"t.png: -3=t_-3.png, 7=t_007.png"});
    QTest::newRow("endings that are no state")
        << list({"pump.png", "pump_x.png", "pump_1a.png", "pump_off.png", "pump_99999999999.png"})
        << list({"pump.png:", "pump_x.png:", "pump_1a.png:", "pump_off.png:",
                 "pump_99999999999.png:"});
    QTest::newRow("a second picture for a taken place stands alone")
        << list({"pump.png", "pump_1.png", "pump.gif", "pump_01.png"})
        << list({"pump.png: 1=pump_1.png", "pump.gif:", "pump_01.png:"});
    QTest::newRow("a file named only by its ending")
        << list({"_alarm.png", "_1.png"}) << list({"_alarm.png:", "_1.png:"});
}

void TestStateFamilies::grouping()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, families);
    QStringList described;
    for (const TStateFamily &family : GroupStateFamilies(inPics(files)))
        described.append(describe(family));
    QCOMPARE(described, families);
}

void TestStateFamilies::ungroupedKeepsEveryFileAlone()
{
    const QStringList files = inPics(list({"pump.png", "pump_1.png"}));
    QCOMPARE(UngroupedFamilies(files), (QList<TStateFamily>{{files[0], {}}, {files[1], {}}}));
    // The same name in two folders: two families.
    QCOMPARE(GroupStateFamilies({u"/a/pump.png"_s, u"/b/pump_1.png"_s}).size(), 2);
}

QTEST_GUILESS_MAIN(TestStateFamilies)
#include "tst_statefamilies.moc"
