#include "model/StateFamilies.h"

#include "model/ImagePath.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace
{
/// Where a picture belongs in its family: the family's NAME and the state, none for the main
/// picture.
struct TFamilyPlace {
    QString Name;
    std::optional<QString> State;
};

/// The words of the named states in the strip's order; ends are tried longest first, so that
/// "_mo_off" is not taken for "_mo".
const QList<std::pair<QString, QString>> &namedStates()
{
    static const QList<std::pair<QString, QString>> words = {
        {QStringLiteral("_mo_off"), QStringLiteral("MO_Off")},
        {QStringLiteral("_alarm"), QStringLiteral("Alarm")},
        {QStringLiteral("_mo"), QStringLiteral("MO")}};
    return words;
}

TFamilyPlace placeOf(const QString &File)
{
    const QString fileName = FileNamePart(File);
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString base = dot > 0 ? fileName.left(dot) : fileName;

    for (const auto &[ending, state] : namedStates())
        if (base.size() > ending.size() && base.endsWith(ending, Qt::CaseInsensitive))
            return {base.chopped(ending.size()), state};

    static const QRegularExpression numbered(QStringLiteral("^(.+)_(-?[0-9]+)$"));
    const QRegularExpressionMatch match = numbered.match(base);
    if (match.hasMatch()) {
        bool fits = false;
        const int value = match.captured(2).toInt(&fits);
        if (fits)
            return {match.captured(1), QString::number(value)};
    }
    return {base, std::nullopt};
}

/// Orders states as the strip does: numbers ascending, then Alarm, MO_Off, MO.
int stateRank(const QString &State, int *Number)
{
    bool isNumber = false;
    *Number = State.toInt(&isNumber);
    if (isNumber)
        return 0;
    *Number = 0;
    if (State == QLatin1String("Alarm"))
        return 1;
    return State == QLatin1String("MO_Off") ? 2 : 3;
}

bool stateLess(const TStringPairs &a, const TStringPairs &b)
{
    int numberA = 0;
    int numberB = 0;
    const int rankA = stateRank(a.Name, &numberA);
    const int rankB = stateRank(b.Name, &numberB);
    return rankA != rankB ? rankA < rankB : numberA < numberB;
}
} // namespace

QList<TStateFamily> GroupStateFamilies(const QStringList &Files)
{
    QList<TStateFamily> families;
    // Folder and NAME to the family's index.
    QHash<QString, qsizetype> byName;
    for (const QString &file : Files) {
        const TFamilyPlace place = placeOf(file);
        const QString folder = file.left(file.size() - FileNamePart(file).size());
        const QString key = folder + u'\n' + place.Name;
        const auto found = byName.constFind(key);
        if (found == byName.cend()) {
            byName.insert(key, families.size());
            TStateFamily family;
            if (place.State)
                family.States.append({*place.State, file});
            else
                family.Main = file;
            families.append(family);
            continue;
        }
        TStateFamily &family = families[*found];
        const bool taken =
            place.State ? std::any_of(family.States.cbegin(), family.States.cend(),
                                      [&](const TStringPairs &s) { return s.Name == *place.State; })
                        : !family.Main.isEmpty();
        if (taken)
            families.append({file, {}});
        else if (place.State)
            family.States.append({*place.State, file});
        else
            family.Main = file;
    }

    for (TStateFamily &family : families) {
        std::sort(family.States.begin(), family.States.end(), stateLess);
        if (family.Main.isEmpty())
            family.Main = family.States.takeFirst().Value;
    }
    return families;
}

QList<TStateFamily> UngroupedFamilies(const QStringList &Files)
{
    QList<TStateFamily> families;
    families.reserve(Files.size());
    for (const QString &file : Files)
        families.append({file, {}});
    return families;
}
