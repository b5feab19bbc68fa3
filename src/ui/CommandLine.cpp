#include "ui/CommandLine.h"

#include "platform/app/QtTranslations.h"
#include "platform/profile/Utf8KeepingBytes.h"
#include "ui/RecordRuns.h"
#include "ui/RunVerification.h"

#include <cstdio>
#include <cstdlib>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <QUrl>

namespace fenu {

namespace {

// Qt's own options, which the application object takes out of argv after this: X
// session managers restart a program with -session, and a value is never a file.
constexpr QLatin1StringView QtOptionsWithValue(
    "platform platformpluginpath platformtheme plugin qwindowgeometry geometry qwindowtitle "
    "title qwindowicon icon session display name visual style stylesheet qmljsdebugger");
constexpr QLatin1StringView QtFlags("reverse testability sync nograb dograb widgetcount");

void AddOptions(QCommandLineParser& parser) {
    // Single dashes as Qt's own options are written: -platform is no -p -l -a ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("feNU, ein kleines Arcade-Spiel: Die eigene Kugel folgt dem "
                       "Mauszeiger und weicht den fremden Kugeln aus."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("Rekordlauf"),
        QStringLiteral("Ein Rekordlauf (*.fenurun, auch als file:-URL), der abgespielt wird."),
        QStringLiteral("[Rekordlauf]"));
    parser.addOption({QStringLiteral("race"),
                      QStringLiteral("Spielt gegen den Rekordlauf: auf seiner Bahn, seine Kugel "
                                     "als Geist daneben."),
                      QStringLiteral("Rekordlauf")});
    parser.addOption({QStringLiteral("verify"),
                      QStringLiteral("Spielt den Rekordlauf ohne Fenster nach und prüft die "
                                     "Punkte, die er nennt (Rückgabewert 0 nur, wenn sie "
                                     "stimmen)."),
                      QStringLiteral("Rekordlauf")});
    const auto addHidden = [&parser](QLatin1StringView names, const QString& valueName) {
        for (const QString& name : QString(names).split(u' ')) {
            QCommandLineOption option(name, QString(), valueName);
            option.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(option);
        }
    };
    addHidden(QtOptionsWithValue, QStringLiteral("Wert"));
    addHidden(QtFlags, QString());
}

// A file: URL's path with its percent-encoding decoded to the bytes it stands for,
// UTF-8 or not; anything else is a file name already.
QString LocalPath(const QString& argument) {
    if (!argument.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return argument;
    const QUrl url(argument);
    if (!url.isValid() || !url.isLocalFile())
        return argument;
    if (!url.host().isEmpty() && url.host() != QLatin1String("localhost"))
        return url.toLocalFile(); // another machine's, which is not there
    return FromUtf8KeepingBytes(
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

// Prints the answer or the mistake; Qt's parser ends the program itself for all but
// one mistake.
int Answer(int argc, char** argv, const QStringList& arguments) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("feNU"));
    QCoreApplication::setApplicationVersion(RunProgramVersion());
    QTranslator translator;
    InstallQtTranslations(translator);
    QCommandLineParser parser;
    AddOptions(parser); // anew, so that Qt's texts of its own options are German
    parser.process(arguments);
    std::fprintf(stderr, "%s: Es kann nur ein Rekordlauf abgespielt werden.\n",
                 qPrintable(QCoreApplication::applicationName()));
    return EXIT_FAILURE;
}

} // namespace

TCommandLine ReadCommandLine(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << FromUtf8KeepingBytes(argv[i]);
    QCommandLineParser parser;
    AddOptions(parser);
    const bool parsed = parser.parse(arguments);
    QStringList files = parser.positionalArguments();
    const QString race = QStringLiteral("race");
    const QString verify = QStringLiteral("verify");
    for (const QString& option : {race, verify})
        files += parser.values(option);
    if (!parsed || parser.isSet(QStringLiteral("help")) ||
        parser.isSet(QStringLiteral("help-all")) || parser.isSet(QStringLiteral("version")) ||
        files.size() > 1)
        return {Answer(argc, argv, arguments), {}, false};
    const QString file = files.isEmpty() ? QString() : LocalPath(files.front());
    if (parser.isSet(verify))
        return {VerifyRunFile(file), {}, false};
    return {std::nullopt, file, parser.isSet(race)};
}

} // namespace fenu
