// pelmoran-make-database [--] PATH: creates the installed database (tables, default group and
// default account) at PATH. Refuses to overwrite an existing file. Answers --help and
// --version; any other option is refused, so that a mistyped option never becomes a file.
#include "app/InstalledDatabase.h"
#include "platform/RuntimeError.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>

namespace {
constexpr const char* kUsage = "usage: pelmoran-make-database [--help] [--version] [--] PATH\n";
} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pelmoran-make-database"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PELMORAN_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Creates the installed database (tables, default group and default "
                       "account) at PATH. An existing file is never overwritten."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("PATH"),
        QStringLiteral("The database file to create; after --, a name may begin with -."));
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "pelmoran-make-database: %s\n%s",
                     parser.errorText().toLocal8Bit().constData(), kUsage);
        return 2;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    const QStringList paths = parser.positionalArguments();
    if (paths.size() != 1) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const QString path = QDir::cleanPath(QDir::current().absoluteFilePath(paths[0]));
    try {
        InstalledDatabase::Create(path);
    } catch (const RuntimeError& error) {
        std::fprintf(stderr, "pelmoran-make-database: %s\n",
                     error.Description().toLocal8Bit().constData());
        return 1;
    }
    std::printf("Created %s (default account: %s)\n", path.toLocal8Bit().constData(),
                InstalledDatabase::kDefaultAccount);
    return 0;
}
