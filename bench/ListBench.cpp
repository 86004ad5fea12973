#include "controls/McListBox/McListBox.h"
#include "platform/forms/ControlContainer.h"

#include <QApplication>
#include <QSortFilterProxyModel>
#include <QStringListModel>
#include <benchmark/benchmark.h>
#include <random>

// 100,000 rows added one by one and brought into ascending order by one refresh, beside
// Qt's own string model sorted through a proxy: the same texts in both.

namespace {

const QStringList& Texts() {
    static const QStringList texts = [] {
        std::mt19937 random(42);
        QStringList result;
        result.reserve(100000);
        for (int i = 0; i < 100000; ++i)
            result << QStringLiteral("%1 - Todo %2").arg(random() % 100000).arg(random() % 997);
        return result;
    }();
    return texts;
}

void ListBoxAddAndSort(benchmark::State& state) {
    for (auto _ : state) {
        ControlContainer container;
        McListBox list;
        list.setContainer(&container);
        list.InitProperties();
        list.resize(400, 240);
        list.setSortOrder(-1);
        for (const QString& text : Texts())
            list.AddItem(text);
        list.Refresh();
        benchmark::DoNotOptimize(list.List(0));
    }
}

void StringListModelSort(benchmark::State& state) {
    for (auto _ : state) {
        QStringListModel model;
        model.setStringList(Texts());
        QSortFilterProxyModel proxy;
        proxy.setSortCaseSensitivity(Qt::CaseInsensitive);
        proxy.setSortLocaleAware(true);
        proxy.setSourceModel(&model);
        proxy.sort(0, Qt::AscendingOrder);
        benchmark::DoNotOptimize(proxy.index(0, 0).data());
    }
}

} // namespace

BENCHMARK(ListBoxAddAndSort)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(StringListModelSort)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
