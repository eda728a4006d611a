// The main thread's cost of the glides' frames on a real screen (run it on an
// X display, e.g. under scripts/with-test-display): every bar and the needle
// glide as after a refresh tick with moving readings, and the event loop runs
// until no drawn pixel changes any more. Reports the frames per glide and the
// processor time per frame, the paint and its flush to the server included;
// and, as the floor beneath that, what a bare window's timer wake-up costs
// with nothing to do and with a small box flushed to the server.
#include <benchmark/benchmark.h>
#include <time.h>

#include <QApplication>
#include <QBackingStore>
#include <QPainter>
#include <QTimer>
#include <QWindow>

#include "shell/DialGauge.h"
#include "shell/GlideBar.h"
#include "shell/WidgetLayout.h"

using namespace pelmora;

namespace {

double threadCpuUs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

// Steps of a few tens of percent, as the moving pattern's load makes them,
// and of one percent, as steady readings move.
void BM_GlideFramesOnScreen(benchmark::State& state, double step)
{
    WidgetLayout widget;
    widget.show();
    while (!widget.windowHandle() || !widget.windowHandle()->isExposed()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    QCoreApplication::processEvents();
    const QList<GlideBar*> bars = widget.findChildren<GlideBar*>();
    for (GlideBar* bar : bars) bar->setPosition(30 + step);
    widget.controls().CPU1->setValue(30 + step);
    while (widget.animationClock().isWaiting())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    double target = 30 + step;
    int64_t frames = 0;
    double cpuUs = 0;
    for (auto _ : state) {
        target = 60 + step - target;  // 30, 30 + step, 30, ...
        for (GlideBar* bar : bars) bar->setPosition(target);
        widget.controls().CPU1->setValue(target);
        QCoreApplication::processEvents();  // the tick's own paint, not a frame
        const double start = threadCpuUs();
        while (widget.animationClock().isWaiting()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            ++frames;
        }
        cpuUs += threadCpuUs() - start;
    }
    state.counters["frames"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kAvgIterations);
    state.counters["us_per_frame"] = frames > 0 ? cpuUs / static_cast<double>(frames) : 0.0;
}
BENCHMARK_CAPTURE(BM_GlideFramesOnScreen, twenty, 20.0)->Unit(benchmark::kMillisecond)->Iterations(8);
BENCHMARK_CAPTURE(BM_GlideFramesOnScreen, one, 1.0)->Unit(benchmark::kMillisecond)->Iterations(8);

// A bare window of the widget's size woken by a precise timer every 40 ms,
// as the glides' frames are; with `flush`, each wake-up draws a box the size
// of the needle's into the backing store and sends it to the server.
void BM_WakeUpFloor(benchmark::State& state, bool flush)
{
    QWidget window;
    window.resize(587, 352);
    window.setAttribute(Qt::WA_OpaquePaintEvent);
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    QCoreApplication::processEvents();
    const QRect box(100, 50, 46, 46);
    int shade = 0;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (!flush) return;
        QBackingStore* store = window.backingStore();
        store->beginPaint(box);
        QPainter(store->paintDevice()).fillRect(box, QColor::fromHsv(shade = (shade + 7) % 360, 200, 200));
        store->endPaint();
        store->flush(box);
    });
    timer.start(40);
    int64_t wakeUps = 0;
    double cpuUs = 0;
    for (auto _ : state) {
        const double start = threadCpuUs();
        for (int i = 0; i < 25; ++i) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        cpuUs += threadCpuUs() - start;
        wakeUps += 25;
    }
    state.counters["us_per_wake_up"] = cpuUs / static_cast<double>(wakeUps);
}
BENCHMARK_CAPTURE(BM_WakeUpFloor, idle, false)->Unit(benchmark::kMillisecond)->Iterations(8);
BENCHMARK_CAPTURE(BM_WakeUpFloor, flush, true)->Unit(benchmark::kMillisecond)->Iterations(8);

}  // namespace

int main(int argc, char** argv)
{
    // As the widget runs (src/app/main.cpp): images over the socket.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
