// The list control beside the fastest stock Qt list: a QStringListModel in a QListView with
// uniform item sizes, sorted where ours sorts through a case-insensitive, locale-aware proxy.
#include "BenchSupport.h"
#include "controls/McListBox/McListBox.h"
#include "platform/forms/ControlContainer.h"
#include "platform/forms/Form.h"

#include <QListView>
#include <QMouseEvent>
#include <QSortFilterProxyModel>
#include <QStringListModel>
#include <memory>

namespace {

// The main window's to-do list: its stored design at its size on the window.
struct TasksList {
    TasksList() {
        list.setContainer(&container);
        list.ReadProperties(Form::StoredDesign(QStringLiteral(":/windows/frmMain.json"),
                                               QStringLiteral("lstTasks")));
        list.resize(401, 233);
    }
    ControlContainer container;
    McListBox list;
};

// The stock view as the anchor shows it: 401 x 233, one pixel high rows, no per-row measuring.
struct StockList {
    explicit StockList(const QStringList& texts, bool sorted) {
        model.setStringList(texts);
        proxy.setSortCaseSensitivity(Qt::CaseInsensitive);
        proxy.setSortLocaleAware(true);
        proxy.setSourceModel(&model);
        if (sorted)
            proxy.sort(0, Qt::AscendingOrder);
        view.setUniformItemSizes(true);
        view.setModel(&proxy);
        view.resize(401, 233);
    }
    QStringListModel model;
    QSortFilterProxyModel proxy;
    QListView view;
};

void FillSortOurs(benchmark::State& state, int count) {
    const QStringList& texts = bench::RowTexts(count);
    for (auto _ : state) {
        TasksList tasks;
        tasks.list.setSortOrder(-1);
        for (const QString& text : texts)
            tasks.list.AddItem(text);
        tasks.list.Refresh();
        benchmark::DoNotOptimize(tasks.list.grab());
    }
}

void FillSortAnchor(benchmark::State& state, int count) {
    const QStringList& texts = bench::RowTexts(count);
    for (auto _ : state) {
        StockList stock(texts, true);
        benchmark::DoNotOptimize(stock.view.grab());
    }
}

void Click(McListBox& list, int row, Qt::KeyboardModifiers modifiers) {
    const QPointF at(list.FrameWidth() + 10, list.FrameWidth() + (row + 0.5) * list.RowPitch());
    QMouseEvent press(QEvent::MouseButtonPress, at, list.mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, modifiers);
    QApplication::sendEvent(&list, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, list.mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, modifiers);
    QApplication::sendEvent(&list, &release);
}

void RepaintOurs(benchmark::State& state) {
    TasksList tasks;
    for (const QString& text : bench::RowTexts(1000))
        tasks.list.AddItem(text);
    tasks.list.Refresh();
    tasks.list.Bars().SetBarValue(ScrollBars::kVertical, 500);
    tasks.list.setMultiSelect(true);
    tasks.list.setListIndex(501);
    Click(tasks.list, 1, Qt::NoModifier);
    Click(tasks.list, 3, Qt::ControlModifier);
    Click(tasks.list, 4, Qt::ControlModifier);
    if (tasks.list.SelCount() != 3)
        state.SkipWithError("three rows are not selected");
    for (auto _ : state) {
        tasks.list.Refresh();
        benchmark::DoNotOptimize(tasks.list.grab());
    }
}

void RepaintAnchor(benchmark::State& state) {
    StockList stock(bench::RowTexts(1000), false);
    stock.view.setSelectionMode(QAbstractItemView::MultiSelection);
    stock.view.scrollTo(stock.proxy.index(500, 0), QAbstractItemView::PositionAtTop);
    for (int row : {501, 503, 504})
        stock.view.selectionModel()->select(stock.proxy.index(row, 0), QItemSelectionModel::Select);
    for (auto _ : state)
        benchmark::DoNotOptimize(stock.view.grab());
}

void FirstShowOurs(benchmark::State& state) {
    const QStringList& texts = bench::RowTexts(100000);
    for (auto _ : state) {
        TasksList tasks;
        for (const QString& text : texts)
            tasks.list.AddItem(text);
        tasks.list.Refresh();
        tasks.list.show();
        benchmark::DoNotOptimize(tasks.list.grab());
    }
}

void FirstShowAnchor(benchmark::State& state) {
    const QStringList& texts = bench::RowTexts(100000);
    for (auto _ : state) {
        StockList stock(texts, false);
        stock.view.show();
        benchmark::DoNotOptimize(stock.view.grab());
    }
}

} // namespace

int main(int argc, char** argv) {
    return bench::Run(argc, argv, [] {
        const std::pair<const char*, int> sizes[] = {
            {"1k", 1000}, {"10k", 10000}, {"100k", 100000}, {"1m", 1000000}};
        for (const auto& [suffix, count] : sizes)
            bench::Pair(
                std::string("list_fill_sort_") + suffix,
                [count = count](benchmark::State& s) { FillSortOurs(s, count); },
                [count = count](benchmark::State& s) { FillSortAnchor(s, count); },
                count >= 100000 ? 1 : 0);
        bench::Pair("list_repaint", RepaintOurs, RepaintAnchor);
        bench::Pair("first_show_100k", FirstShowOurs, FirstShowAnchor, 1);
    });
}
