// The command-line tool: library documents and packed libraries without a window.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("glyphbook"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.03"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Symbol library documents and packed libraries."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);
    parser.showHelp(0);
}
