#include "platform/forms/Fonts.h"

#include <QFont>
#include <QStringList>

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
