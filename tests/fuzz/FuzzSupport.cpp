#include "FuzzSupport.h"

#include <QtGlobal>

namespace Fuzz {

void SilenceQtMessages() {
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtFatalMsg) {
            std::fprintf(stderr, "Qt fatal: %s\n", qPrintable(text));
            std::abort();
        }
    });
}

} // namespace Fuzz
