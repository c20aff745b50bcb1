#include "app/CheckCommand.h"

#include "app/CliSupport.h"
#include "check/LibraryCheck.h"
#include "model/ViraSymbol.h"
#include "render/PictureFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace
{

/// The findings as one JSON document; positions are counted from 1, as in the text form.
QByteArray findingsJson(const QString &project, const QList<TCheckFinding> &findings)
{
    QJsonArray list;
    for (const TCheckFinding &finding : findings) {
        QJsonObject item{{QStringLiteral("kind"), CheckKindName(finding.Kind)},
                         {QStringLiteral("symbol"), finding.Symbol + 1},
                         {QStringLiteral("identifier"), finding.Identifier},
                         {QStringLiteral("message"), finding.Message}};
        if (finding.State >= 0)
            item.insert(QStringLiteral("state"), finding.State + 1);
        if (CheckKindConcernsImage(finding.Kind))
            item.insert(QStringLiteral("path"), finding.Path);
        list.append(item);
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("project"), project},
                                     {QStringLiteral("findings"), list}})
        .toJson(QJsonDocument::Indented);
}

} // namespace

int runCheck(const QStringList &arguments)
{
    QCommandLineParser parser;
    setUpCommandParser(
        parser, QStringLiteral("check"),
        QStringLiteral(
            "Loads a project and reports, one line each: missing image files, files that cannot "
            "be read as a picture, repeated identifiers, state values that are neither integers "
            "nor Alarm, MO_Off or MO, two state images of a symbol for the same state, names "
            "missing in a language given with --language, and images that would be renamed "
            "when packed (a name that clashes with another image's or is too long). Exit status "
            "1 when it reports anything."),
        {{QStringLiteral("PROJECT.js"), QStringLiteral("The project to check.")}});
    const QCommandLineOption language(
        QStringLiteral("language"),
        QStringLiteral("Report symbols without a name in the language CODE (may be repeated)."),
        QStringLiteral("CODE"));
    parser.addOption(language);
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Print the findings as one JSON document."));
    parser.addOption(json);
    processArguments(parser, arguments);
    const QStringList files = parser.positionalArguments().mid(1);
    if (files.size() != 1) {
        printError(QStringLiteral("check expects PROJECT.js; see 'glyphbook check --help'."));
        return ExitUsage;
    }
    const QString &project = files[0];
    TViraGlyphbook book;
    loadDocument(book, project);

    TLibraryCheck check(
        {QFileInfo(project).absoluteFilePath(), parser.values(language), IsReadablePicture});
    check.Check(book);
    const QList<TCheckFinding> findings = check.Findings();
    if (parser.isSet(json)) {
        printJson(findingsJson(project, findings));
        return findings.isEmpty() ? 0 : ExitFailure;
    }
    for (const TCheckFinding &finding : findings)
        printText(stdout, FindingLine(finding));
    if (findings.isEmpty())
        printText(stdout,
                  QDir::toNativeSeparators(project) + QStringLiteral(": no problems found."));
    return findings.isEmpty() ? 0 : ExitFailure;
}
