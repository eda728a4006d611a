// The cost of the widget's drawing: one whole frame, one second of every bar
// and the gauge gliding, and cutting the colour-key shape.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <string>

#include "shell/GlideBar.h"
#include "shell/WidgetLayout.h"

using namespace pelmora;

namespace {

constexpr int kStepsPerSecond = 100;  // the glide's 10 ms steps

// On screen, its first paint done.
void showNow(WidgetLayout& widget)
{
    widget.show();
    QApplication::processEvents();
}

void setEveryBar(WidgetLayout& widget, double position)
{
    for (GlideBar* bar : widget.findChildren<GlideBar*>()) bar->setPosition(position);
    widget.controls().CPU1->setValue(position);
}

// Every control marked dirty and painted into the window's backing store.
// (A repaint of the window alone would skip what lies on opaque children.)
void BM_PaintWholeFrame(benchmark::State& state)
{
    WidgetLayout widget;
    showNow(widget);
    const QList<QWidget*> controls = widget.findChildren<QWidget*>();
    for (auto _ : state) {
        widget.update();
        for (QWidget* control : controls) control->update();
        QApplication::sendPostedEvents();
    }
}
BENCHMARK(BM_PaintWholeFrame)->Unit(benchmark::kMicrosecond);

void BM_RenderWholeFrameIntoImage(benchmark::State& state)
{
    WidgetLayout widget;
    QImage target(widget.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        widget.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_RenderWholeFrameIntoImage)->Unit(benchmark::kMicrosecond);

// Every bar and the needle glide across the whole range; each clock step is
// followed by the repaints it asked for, as the event loop would do.
void BM_OneSecondOfAnimation(benchmark::State& state)
{
    WidgetLayout widget;
    showNow(widget);
    double target = 100;
    int64_t steps = 0;
    for (auto _ : state) {
        setEveryBar(widget, target);
        target = 100 - target;
        for (int step = 0; step < kStepsPerSecond; ++step) {
            widget.animationClock().stepAll();
            QApplication::sendPostedEvents();
            ++steps;
        }
    }
    state.counters["steps"] = benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OneSecondOfAnimation)->Unit(benchmark::kMillisecond);

// The labels a tick with steady readings changes (the uptime, the processor's
// and the memory's figures), on the shaped and shown window, with the shape
// cut and the repaint that follow, as the event loop would run them.
void BM_SteadyTickLabels(benchmark::State& state)
{
    WidgetLayout widget;
    widget.setColourKeyed(true);
    showNow(widget);
    WidgetControls& c = widget.controls();
    int64_t second = 0;
    for (auto _ : state) {
        ++second;
        c.lblUpTime->setText("2 h, 5 min " + std::to_string(second % 60) + " sec");
        c.lblCPU->setText(std::to_string(second % 7) + "%");
        c.lblPhys->setText(std::to_string(40 + second % 3) + "%");
        QApplication::processEvents();
    }
}
BENCHMARK(BM_SteadyTickLabels)->Unit(benchmark::kMicrosecond);

// A new value for the gauge: its readout drawn afresh (the glide that
// follows is BM_OneSecondOfAnimation's).
void BM_GaugeValue(benchmark::State& state)
{
    WidgetLayout widget;
    showNow(widget);
    int64_t second = 0;
    for (auto _ : state) widget.controls().CPU1->setValue(static_cast<double>(++second % 97) / 3);
}
BENCHMARK(BM_GaugeValue)->Unit(benchmark::kMicrosecond);

void BM_ColourKeyMask(benchmark::State& state)
{
    WidgetLayout widget;
    for (auto _ : state) {
        benchmark::DoNotOptimize(widget.colourKeyMask());
    }
}
BENCHMARK(BM_ColourKeyMask)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qputenv("QT_FONT_DPI", "96");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
