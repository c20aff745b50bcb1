#pragma once

#include <QByteArray>
#include <QString>

/// The text with every CR LF, lone CR and lone LF as CR LF and a CR LF after the last line (an
/// empty text stays empty). A text that is already in that form is returned without a copy.
QString NormaliseLineBreaks(QString Text);

/// NormaliseLineBreaks of UTF-8 text.
QByteArray NormaliseLineBreaks(QByteArray Text);

/// The text with every CR LF, lone CR and lone LF as CR LF, and nothing added at the end.
QString WithCrLfBreaks(QString Text);
