#include "nimbdesk/location/clocationdlg.h"

#include "meteo/location/wlocationdb.h"
#include "settings/lsettings.h"
#include "settings/lwinkeeper.h"
#include "tests/support/tempdir.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>

#include <benchmark/benchmark.h>

#include <memory>

using namespace corekit;
using namespace meteo;
using namespace settings;
using namespace nimbdesk;

namespace
{

// The two states with the most cities in the committed files: Pennsylvania (1,860) and Texas (1,849).
constexpr std::uint32_t PENNSYLVANIA = 42;
constexpr std::uint32_t TEXAS = 48;
constexpr std::uint32_t AUSTIN_TX = 4805000;

// One application for the whole run, on the offscreen platform unless another is asked for; it lives until the
// process ends, after the benchmarks' own objects.
void ensureApplication()
{
    static int argc = 1;
    static char name[] = "bench_locationdlg";
    static char *argv[] = {name, nullptr};
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
    WLocationDB::initLocationDB(NIMBREL_SOURCE_DIR "/data");
}

struct Store {
    Store()
    {
        keeper.SetInt(LSettings::LOCATION, LSettings::STATE, TEXAS, false);
        keeper.SetInt(LSettings::LOCATION, LSettings::CITY, AUSTIN_TX, false);
    }

    nimbreltest::TempDir directory;
    LWinKeeper keeper{"Nimbrel", directory.path().string()};
};

QListWidgetItem *stateItem(const QListWidget *states, std::uint32_t id)
{
    for (int row = 0; row < states->count(); ++row) {
        if (states->item(row)->data(Qt::UserRole).value<std::uint32_t>() == id)
            return states->item(row);
    }
    return nullptr;
}

// From construction until the dialog has been laid out and painted, with a stored place in the second-largest
// state: both lists are filled and sorted, the place selected and scrolled to.
void openDialog(benchmark::State &state)
{
    ensureApplication();
    Store store;
    for (auto _ : state) {
        CLocationDlg dialog(&store.keeper);
        dialog.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(dialog.result());
    }
}
BENCHMARK(openDialog)->Unit(benchmark::kMillisecond);

// Picking another state: the city list is emptied, read, sorted, refilled and repainted.
void switchState(benchmark::State &state)
{
    ensureApplication();
    Store store;
    CLocationDlg dialog(&store.keeper);
    dialog.show();
    QCoreApplication::processEvents();
    auto *states = dialog.findChild<QListWidget *>(QStringLiteral("states"));
    QListWidgetItem *items[] = {stateItem(states, PENNSYLVANIA), stateItem(states, TEXAS)};
    int next = 0;
    for (auto _ : state) {
        states->setCurrentItem(items[next]);
        QCoreApplication::processEvents();
        next = 1 - next;
    }
}
BENCHMARK(switchState)->Unit(benchmark::kMillisecond);

// One keystroke in the city filter over the largest list, alternating between hiding nearly every name and
// showing them all again.
void filterKeystroke(benchmark::State &state)
{
    ensureApplication();
    Store store;
    CLocationDlg dialog(&store.keeper);
    dialog.show();
    QCoreApplication::processEvents();
    auto *filter = dialog.findChild<QLineEdit *>(QStringLiteral("cityFilter"));
    const QString texts[] = {QStringLiteral("spr"), QString()};
    int next = 0;
    for (auto _ : state) {
        filter->setText(texts[next]);
        QCoreApplication::processEvents();
        next = 1 - next;
    }
}
BENCHMARK(filterKeystroke)->Unit(benchmark::kMillisecond);

// The first keystroke in the search box of a freshly opened dialog, which reads the place index, searches and
// shows the results; the opening itself is not timed.
void firstSearchKeystroke(benchmark::State &state)
{
    ensureApplication();
    Store store;
    for (auto _ : state) {
        state.PauseTiming();
        auto dialog = std::make_unique<CLocationDlg>(&store.keeper);
        dialog->show();
        QCoreApplication::processEvents();
        auto *search = dialog->findChild<QLineEdit *>(QStringLiteral("placeSearch"));
        state.ResumeTiming();
        search->setText(QStringLiteral("s"));
        QCoreApplication::processEvents();
        state.PauseTiming();
        dialog.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(firstSearchKeystroke)->Unit(benchmark::kMillisecond);

} // namespace
