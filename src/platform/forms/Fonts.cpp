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
    QFont::insertSubstitutions(QStringLiteral("Impact"), {QStringLiteral("DejaVu Sans Condensed")});
}
