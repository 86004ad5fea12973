#pragma once

// What every benchmark program shares: the application set up as the program sets itself up
// (offscreen, Fusion, the font substitutes, an American English locale for the comparison),
// the same random row texts for ours and the anchor, and pairs registered as "figure/ours"
// and "figure/anchor" so that bench/run can set them side by side.

#include "platform/forms/Fonts.h"
#include "platform/forms/Locale.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QStringList>
#include <QStyleFactory>
#include <benchmark/benchmark.h>
#include <functional>
#include <map>
#include <random>
#include <string>

namespace bench {

// To-do rows as the main window lists them: an id, " - ", a name.
inline const QStringList& RowTexts(int count) {
    static std::map<int, QStringList> made;
    auto it = made.find(count);
    if (it == made.end()) {
        std::mt19937 random(static_cast<unsigned>(count) * 2654435761u);
        static const char* const words[] = {"call",  "Buy", "write", "Fix",   "plan",   "read",
                                            "Email", "pay", "book",  "Clean", "review", "send"};
        QStringList texts;
        texts.reserve(count);
        for (int i = 0; i < count; ++i)
            texts << QStringLiteral("%1 - %2 %3 %4")
                         .arg(random() % 1000000)
                         .arg(QLatin1String(words[random() % 12]),
                              QLatin1String(words[random() % 12]))
                         .arg(random() % 997);
        it = made.emplace(count, std::move(texts)).first;
    }
    return it->second;
}

// Registers `ours` and `anchor` for one figure, timed by the wall clock.
inline void Pair(const std::string& figure, std::function<void(benchmark::State&)> ours,
                 std::function<void(benchmark::State&)> anchor, int iterations = 0) {
    for (auto& [side, body] : {std::pair{"ours", ours}, std::pair{"anchor", anchor}}) {
        auto* b = benchmark::RegisterBenchmark((figure + "/" + side).c_str(), body);
        b->Unit(benchmark::kMillisecond)->UseRealTime();
        if (iterations > 0)
            b->Iterations(iterations);
    }
}

inline int Run(int argc, char** argv, const std::function<void()>& registerAll) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    InstallFontSubstitutes();
    // Fonts, the style and the collator load on first use: not in whichever pair runs first.
    {
        QLabel label(QStringLiteral("warm"));
        label.grab();
        Locale::CompareTextNoCase(QStringLiteral("a"), QStringLiteral("b"));
    }
    benchmark::Initialize(&argc, argv);
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
