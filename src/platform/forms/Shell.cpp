#include "platform/forms/Shell.h"

#include <QDesktopServices>

namespace Shell {
namespace {

Opener& InstalledOpener() {
    static Opener opener;
    return opener;
}

} // namespace

void OpenWebSite() {
    const QUrl address(QString::fromLatin1(kWebSite));
    if (const Opener& opener = InstalledOpener())
        opener(address);
    else
        QDesktopServices::openUrl(address);
}

void SetOpener(Opener opener) {
    InstalledOpener() = std::move(opener);
}

} // namespace Shell
