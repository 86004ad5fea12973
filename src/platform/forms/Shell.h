#pragma once

#include <QUrl>
#include <functional>

// Opening the maker's web site in the user's default browser. Tests install an opener that
// records the address, so no browser ever starts under them.
namespace Shell {

// The maker's web site: one address that every command opening it shares.
QUrl WebSite();

// Opens the web site; a failure to open it is not noticed.
void OpenWebSite();

using Opener = std::function<void(const QUrl&)>;
// nullptr restores the default browser.
void SetOpener(Opener opener);

} // namespace Shell
