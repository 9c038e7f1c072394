// A form of 200 instances of one control, created as children of one shown
// window and painted once, against 200 of the Qt widget a user would pick
// instead, in the same run. Reported per instance: the time from creation to
// the painted form, "heap_bytes" (live heap kept, malloc statistics, so Qt's
// own allocations count) and, on the korvactl rows, "time_vs_peer" and
// "heap_vs_peer", the ratios to the peer measured just before.
#include "colors/colors.h"
#include "pages/pages.h"
#include "pane/pane.h"
#include "spin/spin.h"

#include <QCoreApplication>
#include <QImage>
#include <QMenu>
#include <QSpinBox>
#include <QTabBar>
#include <QToolButton>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kInstances = 200;
constexpr int kColumns = 10;

long liveHeap() { return static_cast<long>(mallinfo2().uordblks); }

struct PerInstance {
    double micros = 0;
    double heap = 0;
};
// The peer's figures, by control, for the ratios.
std::map<std::string, PerInstance>& peers() {
    static std::map<std::string, PerInstance> p;
    return p;
}

// Makes one instance as a child of `form` and returns what keeps it alive.
using Maker = std::function<std::shared_ptr<void>(QWidget& form, int index)>;

void formOf200(benchmark::State& state, const std::string& control, bool peer, const Maker& make) {
    double micros = 0, heap = 0;
    long rounds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<QWidget>();
        form->resize(1600, 1200);
        form->show();
        QCoreApplication::processEvents();
        QImage target(form->size(), QImage::Format_RGB32);
        std::vector<std::shared_ptr<void>> kept;
        kept.reserve(kInstances);
        const long h0 = liveHeap();
        state.ResumeTiming();

        const auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < kInstances; ++i)
            kept.push_back(make(*form, i));
        QCoreApplication::sendPostedEvents();
        form->render(&target);
        const auto t1 = std::chrono::steady_clock::now();

        state.PauseTiming();
        heap += static_cast<double>(liveHeap() - h0) / kInstances;
        micros += std::chrono::duration<double, std::micro>(t1 - t0).count() / kInstances;
        ++rounds;
        kept.clear();
        form.reset();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    const PerInstance mine{micros / rounds, heap / rounds};
    state.counters["us_per_instance"] = mine.micros;
    state.counters["heap_bytes"] = mine.heap;
    if (peer) {
        peers()[control] = mine;
    } else if (auto it = peers().find(control); it != peers().end()) {
        state.counters["time_vs_peer"] = mine.micros / it->second.micros;
        state.counters["heap_vs_peer"] = mine.heap / it->second.heap;
    }
}

QPoint cell(int index, int w, int h) { return {(index % kColumns) * w, (index / kColumns) * h}; }

// Puts a control's window on the form.
template <class C> std::shared_ptr<void> onForm(std::unique_ptr<C> c, QWidget& form, int index) {
    QWidget* w = c->widget();
    w->setParent(&form);
    w->move(cell(index, w->width() + 2, w->height() + 2));
    w->show();
    std::shared_ptr<C> keep(std::move(c));
    // The form deletes nothing of the control's: take the window back first.
    return std::shared_ptr<void>(keep.get(), [keep](void*) mutable {
        keep->widget()->setParent(nullptr);
        keep.reset();
    });
}

template <class W> std::shared_ptr<void> peerOnForm(W* w, QWidget& form, int index) {
    w->setParent(&form);
    w->move(cell(index, w->width() + 2, w->height() + 2));
    w->show();
    return std::shared_ptr<void>(w, [](void* p) { delete static_cast<W*>(p); });
}

void BM_Spin_PeerQSpinBox(benchmark::State& s) {
    formOf200(s, "Spin", true, [](QWidget& f, int i) {
        auto* b = new QSpinBox;
        b->setRange(0, 10);
        b->resize(187, 37);
        return peerOnForm(b, f, i);
    });
}
void BM_Spin(benchmark::State& s) {
    formOf200(s, "Spin", false, [](QWidget& f, int i) { return onForm(korva::Spin::createNew(), f, i); });
}

const QStringList kCaptions = {"General", "Colours", "Fonts", "Help"};

void BM_Pages_PeerQTabBar(benchmark::State& s) {
    formOf200(s, "Pages", true, [](QWidget& f, int i) {
        auto* b = new QTabBar;
        for (const QString& c : kCaptions)
            b->addTab(c);
        b->resize(320, 240);
        return peerOnForm(b, f, i);
    });
}
void BM_Pages(benchmark::State& s) {
    formOf200(s, "Pages", false, [](QWidget& f, int i) {
        auto p = korva::Pages::createNew();
        p->setActiveTabs(kCaptions.join(u','));
        return onForm(std::move(p), f, i);
    });
}

void BM_Colors_PeerToolButtonWithMenu(benchmark::State& s) {
    formOf200(s, "Colors", true, [](QWidget& f, int i) {
        auto* b = new QToolButton;
        auto* menu = new QMenu(b);
        for (const char* name : {"Red", "Green", "Blue", "More colors..."})
            menu->addAction(QString::fromLatin1(name));
        b->setMenu(menu);
        b->setPopupMode(QToolButton::MenuButtonPopup);
        b->resize(75, 23);
        return peerOnForm(b, f, i);
    });
}
void BM_Colors(benchmark::State& s) {
    formOf200(s, "Colors", false, [](QWidget& f, int i) { return onForm(korva::Colors::createNew(), f, i); });
}

void BM_Pane_PeerQToolButton(benchmark::State& s) {
    formOf200(s, "Pane", true, [](QWidget& f, int i) {
        auto* b = new QToolButton;
        b->setText(QStringLiteral("Caption"));
        b->resize(105, 35);
        return peerOnForm(b, f, i);
    });
}
void BM_Pane(benchmark::State& s) {
    formOf200(s, "Pane", false, [](QWidget& f, int i) { return onForm(korva::Pane::createNew(), f, i); });
}

// Each peer runs right before its control, so the ratios compare one run.
BENCHMARK(BM_Spin_PeerQSpinBox)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Spin)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Pages_PeerQTabBar)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Pages)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Colors_PeerToolButtonWithMenu)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Colors)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Pane_PeerQToolButton)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Pane)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
