#include "platform/forms/Shell.h"

#include <QDesktopServices>

namespace Shell {
namespace {
Opener& CurrentOpener() {
    static Opener opener;
    return opener;
}
} // namespace

QUrl WebSite() {
    return QUrl(QStringLiteral("https://www.pelmoran.example/"));
}

void OpenWebSite() {
    if (const Opener& opener = CurrentOpener()) {
        opener(WebSite());
        return;
    }
    QDesktopServices::openUrl(WebSite());
}

void SetOpener(Opener opener) {
    CurrentOpener() = std::move(opener);
}

} // namespace Shell
