#pragma once

#include "model/ViraSymbol.h"

#include <QList>
#include <QStringList>

/// The picture files that become one symbol: its main picture and its state pictures.
struct TStateFamily {
    QString Main;
    /// Name: the state value ("1", "Alarm", "MO_Off", "MO"); Value: the picture file.
    QList<TStringPairs> States;

    friend bool operator==(const TStateFamily &a, const TStateFamily &b)
    {
        return a.Main == b.Main && a.States == b.States;
    }
};

/// Groups picture files into state families by their names: NAME.ext is the main picture,
/// NAME_N.ext (N a decimal 32-bit integer) the picture of state N, and NAME_alarm, NAME_mo_off
/// and NAME_mo (in any case) those of Alarm, MO_Off and MO. Files of one folder with the same
/// NAME make one family. A family without a main picture takes its lowest state's picture as
/// the main one instead. A second picture for a place already taken in its family makes a
/// family of its own. Families come in the order of their first files, states by ascending
/// value, then Alarm, MO_Off, MO.
QList<TStateFamily> GroupStateFamilies(const QStringList &Files);

/// One family per file: each picture is a main picture alone.
QList<TStateFamily> UngroupedFamilies(const QStringList &Files);
