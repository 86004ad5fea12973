// pelmoran-make-database PATH: creates the installed database (tables, default group and
// default account) at PATH. Refuses to overwrite an existing file.
#include "app/InstalledDatabase.h"
#include "platform/RuntimeError.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: pelmoran-make-database PATH\n");
        return 2;
    }
    const QString path = QDir::cleanPath(QDir::current().absoluteFilePath(arguments[1]));
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
