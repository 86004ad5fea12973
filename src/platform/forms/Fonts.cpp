#include "platform/forms/Fonts.h"

#include <QFont>
#include <QStringList>
#include <cstdlib>
#include <fontconfig/fontconfig.h>

void InstallFontSubstitutes() {
    const QStringList sans{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    for (const char* name : {"MS Sans Serif", "Microsoft Sans Serif", "Tahoma", "Arial", "Verdana"})
        QFont::insertSubstitutions(QString::fromLatin1(name), sans);
    QFont::insertSubstitutions(
        QStringLiteral("Times New Roman"),
        {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    QFont::insertSubstitutions(QStringLiteral("Courier New"), {QStringLiteral("Liberation Mono"),
                                                               QStringLiteral("DejaVu Sans Mono")});
    QFont::insertSubstitutions(QStringLiteral("Impact"), {QStringLiteral("Liberation Sans Narrow"),
                                                          QStringLiteral("DejaVu Sans Condensed")});
}

namespace {

// What FcInit does, less the parse of every configuration file the system offers but has not
// enabled (about forty of them), which only lists them for the configuration tools: a third of
// the reading's time. Anything out of the ordinary (a debugging request, a configuration that
// does not load or names no cache folder) goes to FcInit itself, for its fallbacks and
// warnings.
void ReadFontConfiguration() {
    if (std::getenv("FC_DEBUG") != nullptr) {
        FcInit();
        return;
    }
    FcConfig* config = FcConfigCreate();
    bool loaded = config != nullptr && FcConfigParseAndLoad(config, nullptr, FcTrue);
    if (loaded) {
        FcStrList* cacheFolders = FcConfigGetCacheDirs(config);
        loaded = cacheFolders != nullptr && FcStrListNext(cacheFolders) != nullptr;
        if (cacheFolders != nullptr)
            FcStrListDone(cacheFolders);
    }
    // The current configuration holds a reference of its own.
    loaded = loaded && FcConfigBuildFonts(config) && FcConfigSetCurrent(config);
    if (config != nullptr)
        FcConfigDestroy(config);
    if (!loaded)
        FcInit();
}

} // namespace

std::future<void> StartReadingFontConfiguration() {
    return std::async(std::launch::async, ReadFontConfiguration);
}

QFont DesignFont(const QString& family, double pointSize, bool bold) {
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    if (family == QLatin1String("Impact")) {
        // Impact sets its heavy letters close together; the stand-in's bold face, closed up a
        // little, takes about the room Impact does.
        font.setBold(true);
        font.setLetterSpacing(QFont::PercentageSpacing, 95);
    }
    return font;
}
