#pragma once

#include <QUrl>
#include <functional>

// Opens the maker's web site in the user's default browser. Tests install an opener that
// records the address instead.
namespace Shell {

inline constexpr const char* kWebSite = "https://pelmoran.example/";

// A failure to open the site is not noticed.
void OpenWebSite();

using Opener = std::function<void(const QUrl&)>;
// nullptr restores the default browser.
void SetOpener(Opener opener);

} // namespace Shell
