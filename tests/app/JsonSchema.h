#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>

#include <optional>

/// Validates a JSON text against one of the published schemas (schemas/NAME.schema.json) with
/// Python's jsonschema. Gives the validator's complaint, an empty text when the document is
/// valid, and nothing when no validator is installed (scripts/setup.sh installs one).
inline std::optional<QString> schemaViolation(const QByteArray &json, const QString &name)
{
    static const char script[] = R"(
import json, sys
try:
    import jsonschema
except ImportError:
    sys.exit(3)
schema = json.load(open(sys.argv[1], encoding="utf-8"))
try:
    jsonschema.Draft202012Validator(schema).validate(json.loads(sys.stdin.buffer.read()))
except (jsonschema.ValidationError, ValueError) as e:
    print(e)
    sys.exit(1)
)";
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        return std::nullopt;
    QProcess process;
    process.start(python,
                  {QStringLiteral("-c"), QString::fromLatin1(script),
                   QStringLiteral(GLYPHBOOK_SCHEMAS "/") + name + QStringLiteral(".schema.json")});
    process.write(json);
    process.closeWriteChannel();
    process.waitForFinished(30000);
    if (process.exitCode() == 3)
        return std::nullopt;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    return QString();
}
